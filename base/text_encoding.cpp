#include "base/text_encoding.hpp"

#include <algorithm>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace velmorta {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the UTF-8 sequence at `at`, or 0 when it is not a well-formed one
// (overlong forms, surrogates and values beyond U+10FFFF are not).
std::size_t SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = SequenceLength(text, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

bool IsUtf8BeyondAscii(std::string_view text) {
  const bool beyondAscii =
      std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  return beyondAscii && IsValidUtf8(text);
}

#ifdef _WIN32

bool SystemCodePageIsUtf8() { return GetACP() == CP_UTF8; }

bool IsValidSystemText(std::string_view text) {
  if (text.empty()) return true;
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0) >
         0;
}

std::string SystemTextToUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (wideLength <= 0) return std::string(kReplacement);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), wideLength);
  // A code page maps every byte to something; WideCharToMultiByte replaces lone surrogates.
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
  return IsValidUtf8(utf8) ? utf8 : std::string(kReplacement);
}

#else

bool SystemCodePageIsUtf8() { return true; }

bool IsValidSystemText(std::string_view text) { return IsValidUtf8(text); }

namespace {

// The converter's messages and the users' names are in code page 932, Shift-JIS with
// the vendor characters; older iconv builds know only the plain name.
iconv_t OpenShiftJis() {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) converter = iconv_open("UTF-8", "SHIFT_JIS");
  return converter;
}

}  // namespace

std::string SystemTextToUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  std::string utf8;
  const iconv_t converter = OpenShiftJis();
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    // Without a converter, keep the ASCII and mark the rest.
    for (const char c : text) {
      if (static_cast<unsigned char>(c) < 0x80) {
        utf8 += c;
      } else {
        utf8 += kReplacement;
      }
    }
    return utf8;
  }
  char buffer[256];
  std::size_t at = 0;
  while (at < text.size()) {
    char* in = const_cast<char*>(text.data() + at);
    std::size_t inLeft = text.size() - at;
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    utf8.append(buffer, static_cast<std::size_t>(out - buffer));
    at = static_cast<std::size_t>(in - text.data());
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // An invalid or cut-off sequence: one byte becomes U+FFFD, and the rest goes on.
    utf8 += kReplacement;
    ++at;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(converter);
  // A converter that passes something malformed through is not trusted with it.
  if (!IsValidUtf8(utf8)) {
    std::string checked;
    for (std::size_t i = 0; i < utf8.size();) {
      const std::size_t length = SequenceLength(utf8, i);
      if (length == 0) {
        checked += kReplacement;
        ++i;
      } else {
        checked.append(utf8, i, length);
        i += length;
      }
    }
    return checked;
  }
  return utf8;
}

#endif

}  // namespace velmorta
