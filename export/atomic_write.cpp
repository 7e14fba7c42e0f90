#include "export/atomic_write.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/files.hpp"
#include "export/export_error.hpp"

namespace velmorta::fab {
namespace {

void RemoveQuietly(const std::string& path) {
  int ignored = 0;
  (void)RemoveFile(path, ignored);
}

// False, with errno's text in `why`, when the file could not be written completely.
bool WriteFile(const std::string& path, const std::string& bytes, std::string& why) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    why = std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (!written) why = std::strerror(errno);
  const bool closed = std::fclose(file) == 0;
  if (written && !closed) why = std::strerror(errno);
  return written && closed;
}

}  // namespace

std::string TemporaryPath(const std::string& path) { return path + ".part"; }

void WriteAllOrNothing(const std::vector<FileText>& files) {
  std::vector<std::string> temporaries;
  auto abandon = [&temporaries](const std::string& message) {
    for (const std::string& temporary : temporaries) RemoveQuietly(temporary);
    throw ExportError(message);
  };
  for (const FileText& file : files) {
    const std::string temporary = TemporaryPath(file.path);
    temporaries.push_back(temporary);
    std::string why;
    if (!WriteFile(temporary, file.bytes, why)) abandon("cannot write " + file.path + ": " + why);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    int error = 0;
    if (!RenameReplacing(temporaries[i], files[i].path, error)) {
      // The files renamed so far are complete; the rest are not touched.
      temporaries.erase(temporaries.begin(), temporaries.begin() + static_cast<std::ptrdiff_t>(i));
      abandon("cannot replace " + files[i].path + ": " + ReasonText(error));
    }
  }
}

}  // namespace velmorta::fab
