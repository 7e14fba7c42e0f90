#pragma once
// Names as the system holds them (file names, the configuration's bytes), turned into
// UTF-8 for formats that declare it: XML, JSON, the comments of Gerber files.

#include <string>
#include <string_view>

namespace velmorta {

// On Windows from the system's ANSI code page. Elsewhere text that is valid UTF-8 is
// kept, and any other is read as Shift-JIS, the configuration's own encoding; a byte
// that is neither becomes U+FFFD. The result is always valid UTF-8.
std::string SystemTextToUtf8(std::string_view text);

bool IsValidUtf8(std::string_view text);

}  // namespace velmorta
