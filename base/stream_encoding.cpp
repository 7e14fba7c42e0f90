#include "base/stream_encoding.hpp"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <clocale>
#include <iconv.h>
#include <langinfo.h>
#endif

namespace velmorta {
namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool NamesUtf8(std::string_view name) { return name.empty() || name == "UTF-8" || name == "utf8" || name == "65001"; }

}  // namespace

#ifdef _WIN32

std::optional<std::string> StreamEncoding::Encode(std::string_view utf8) const {
  if (NamesUtf8(name_) || IsAscii(utf8)) return std::string(utf8);
  char* end = nullptr;
  const UINT codePage = static_cast<UINT>(std::strtoul(name_.c_str(), &end, 10));
  if (end == name_.c_str() || *end != '\0') return std::nullopt;
  const int size = static_cast<int>(utf8.size());
  const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), wideLength);
  // A character the code page lacks would come out as "?": the caller says it otherwise.
  BOOL lossy = FALSE;
  const int length =
      WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0, nullptr, &lossy);
  if (length <= 0 || lossy) return std::nullopt;
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, text.data(), length, nullptr, nullptr);
  return text;
}

StreamEncoding EncodingOf(StandardStream stream) {
  const HANDLE handle = GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  const bool console = handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode) != 0;
  return StreamEncoding(std::to_string(console ? GetConsoleOutputCP() : GetACP()));
}

#else

std::optional<std::string> StreamEncoding::Encode(std::string_view utf8) const {
  if (NamesUtf8(name_) || IsAscii(utf8)) return std::string(utf8);
  const iconv_t converter = iconv_open(name_.c_str(), "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string text;
  char buffer[256];
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  bool done = false;
  while (!done) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    // The last call, without input, ends any shift state.
    const std::size_t result = inLeft > 0 ? iconv(converter, &in, &inLeft, &out, &outLeft)
                                          : iconv(converter, nullptr, nullptr, &out, &outLeft);
    text.append(buffer, static_cast<std::size_t>(out - buffer));
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      iconv_close(converter);
      return std::nullopt;
    }
    done = result != static_cast<std::size_t>(-1) && inLeft == 0 && out == buffer;
  }
  iconv_close(converter);
  return text;
}

StreamEncoding EncodingOf(StandardStream) {
  // The user's locale is read without keeping it: the programs' own parsing stays in "C".
  const std::string previous = std::setlocale(LC_CTYPE, nullptr);
  std::string codeset = "UTF-8";
  if (std::setlocale(LC_CTYPE, "") != nullptr) codeset = nl_langinfo(CODESET);
  std::setlocale(LC_CTYPE, previous.c_str());
  return StreamEncoding(codeset == "UTF-8" ? std::string() : codeset);
}

#endif

}  // namespace velmorta
