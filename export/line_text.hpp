#pragma once
// The exported fab files end every line in CR LF, like the converter's drill file,
// so they are byte-identical on every platform.

#include <string>
#include <string_view>

namespace velmorta::fab {

template <typename... Pieces>
void AppendLine(std::string& out, const Pieces&... pieces) {
  (out.append(std::string_view(pieces)), ...);
  out.append("\r\n");
}

}  // namespace velmorta::fab
