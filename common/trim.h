// Blank trimming shared by the configuration reader and the mail message parser.
#pragma once

#include <string>

// Removes spaces and horizontal tabs, and only those, at both ends of text (in place). A text of only blanks
// becomes empty; carriage returns, form feeds and every other byte are kept.
void Trim(std::string& text);
