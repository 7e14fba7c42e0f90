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

// Whether the system reads names (file names, the configuration's bytes) as UTF-8:
// elsewhere than on Windows it does; on Windows where the ANSI code page is UTF-8.
bool SystemCodePageIsUtf8();

// Whether the bytes are text in the system's encoding (on Windows its ANSI code page),
// so that a person reads them as typed.
bool IsValidSystemText(std::string_view text);

// Text beyond ASCII that is valid UTF-8: an editor's UTF-8, for Shift-JIS names are
// almost never valid UTF-8 (most of their lead bytes are UTF-8 continuation bytes).
bool IsUtf8BeyondAscii(std::string_view text);

}  // namespace velmorta
