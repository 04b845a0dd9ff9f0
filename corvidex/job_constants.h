// Buffer sizes and pacing shared by the index and purge jobs.
#pragma once

// A message or folder path in UTF-8 for the database, the NUL included.
constexpr int kUtf8PathSize = 520;
// A message path taken back from a document URI, code page 932, the NUL included.
constexpr int kMessagePathSize = 531;
// Within a folder a job gives the thread back to the dialog after every this many messages or documents.
constexpr unsigned kItemsPerYield = 100;
