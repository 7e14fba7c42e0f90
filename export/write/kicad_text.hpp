#pragma once
// The atoms of KiCad's board files: lengths in millimetres and quoted strings.

#include <cstdint>
#include <string>
#include <string_view>

namespace velmorta::fab {

// 0.001 mm as KiCad writes millimetres: "25.4", "-0.05", "0".
std::string KicadMillimetres(std::int64_t micrometres);
// The same at the end of `text`, for a writer that builds its lines in one buffer.
void AppendKicadMillimetres(std::string& text, std::int64_t micrometres);

// UTF-8 text in double quotes, with the quote and the backslash escaped as KiCad's
// reader undoes them.
std::string KicadQuoted(std::string_view utf8);

}  // namespace velmorta::fab
