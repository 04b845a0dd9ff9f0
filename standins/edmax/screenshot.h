// Screenshots of the whole screen as 24-bit BMP files.
#pragma once

#include <string>

bool SaveScreenshot(const std::wstring& path);
