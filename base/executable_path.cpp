#include "base/executable_path.hpp"

#include <vector>

#include "base/files.hpp"

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#else
#include <unistd.h>
#endif

namespace velmorta {

std::string ExecutablePath(const char* fallback) {
#if defined(_WIN32)
  std::vector<wchar_t> wide(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    if (n == 0) break;
    if (n < wide.size()) {
      // File names are opened through the narrow (ANSI code page) interface.
      const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(n), nullptr, 0,
                                            nullptr, nullptr);
      std::string path(static_cast<std::size_t>(bytes), '\0');
      WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(n), path.data(), bytes, nullptr,
                          nullptr);
      return path;
    }
    wide.resize(wide.size() * 2);
  }
#elif defined(__APPLE__)
  std::uint32_t size = 0;
  _NSGetExecutablePath(nullptr, &size);
  std::vector<char> buffer(size + 1);
  if (_NSGetExecutablePath(buffer.data(), &size) == 0) return std::string(buffer.data());
#else
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) break;
    if (static_cast<std::size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<std::size_t>(n));
    buffer.resize(buffer.size() * 2);
  }
#endif
  return fallback != nullptr ? std::string(fallback) : std::string();
}

std::string ConfigurationPath(const std::string& executablePath) {
  const std::string_view name = FileNameOf(executablePath);
  const bool threeCharExtension = name.size() >= 4 && name[name.size() - 4] == '.' &&
                                  name.substr(name.size() - 3).find('.') == std::string_view::npos;
  if (threeCharExtension) return executablePath.substr(0, executablePath.size() - 3) + "cfg";
  return executablePath + ".cfg";
}

}  // namespace velmorta
