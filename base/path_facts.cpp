#include "base/path_facts.hpp"

#include <cerrno>
#include <sys/stat.h>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace velmorta {
namespace {

bool Blocked(const std::string& path, int why, std::string& blocker, int& error) {
  blocker = path;
  error = why != 0 ? why : EIO;
  return false;
}

#ifdef _WIN32
// The read-only attribute is what users set to protect a file; DeleteFile refuses it.
bool EntryRemovable(const std::string& path, bool& directory, std::string& blocker, int& error) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Blocked(path, EACCES, blocker, error);
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !link;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return Blocked(path, EACCES, blocker, error);
  }
  return true;
}
#else
// An immutable file or folder refuses writing even to root (EPERM), as does a read-only
// mount (EROFS); a folder must let its entries be unlinked (write and search).
bool EntryRemovable(const std::string& path, bool& directory, std::string& blocker, int& error) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return Blocked(path, errno, blocker, error);
  directory = S_ISDIR(info.st_mode);
  if (S_ISLNK(info.st_mode)) return true;
  if (access(path.c_str(), W_OK) != 0 && (errno == EPERM || errno == EROFS)) {
    return Blocked(path, errno, blocker, error);
  }
  if (directory && access(path.c_str(), W_OK | X_OK) != 0) return Blocked(path, errno, blocker, error);
  return true;
}
#endif

}  // namespace

std::optional<PathFacts> FactsOf(const std::string& path, bool followLink) {
#ifdef _WIN32
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  const HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  PathFacts facts;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info);
  const bool device = GetFileType(file) == FILE_TYPE_CHAR;
  CloseHandle(file);
  if (device) return PathFacts{FileIdentity{0, 0, true}, false};
  if (!known) return std::nullopt;
  facts.identity = {info.dwVolumeSerialNumber, std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow, false};
  facts.directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                    (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
  return facts;
#else
  struct stat info;
  if ((followLink ? stat(path.c_str(), &info) : lstat(path.c_str(), &info)) != 0) return std::nullopt;
  return PathFacts{FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                                S_ISCHR(info.st_mode)},
                   S_ISDIR(info.st_mode)};
#endif
}

bool CanRemoveTree(const std::string& path, std::string& blocker, int& error) {
  if (!FactsOf(path, false)) return true;
  bool directory = false;
  if (!EntryRemovable(path, directory, blocker, error)) return false;
  if (!directory) return true;
  std::vector<std::string> names;
  if (!ListDirectory(path, names, error)) return Blocked(path, error, blocker, error);
  for (const std::string& name : names) {
    if (!CanRemoveTree(JoinPath(path, name), blocker, error)) return false;
  }
  return true;
}

}  // namespace velmorta
