#include "base/files.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif

namespace velmorta {
namespace {

#ifdef _WIN32
// The errno value nearest to a Windows error, so every message reads alike.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EBUSY;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS: return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    default: return EIO;
  }
}

bool Failed(int& error) {
  error = ErrnoOf(GetLastError());
  return false;
}
#endif

bool Failed(int& error, int value) {
  error = value != 0 ? value : EIO;
  return false;
}

// Why opening `path` failed, from errno. Windows refuses a directory as "access denied";
// it is named as POSIX names it, so that the messages read alike on both.
int OpenError(const std::string& path) {
  const int error = errno != 0 ? errno : EIO;
  return error == EACCES && IsDirectory(path) ? EISDIR : error;
}

}  // namespace

std::string ReasonText(int error) { return std::strerror(error); }

FileHandle OpenForReading(const std::string& path, int& error) {
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = OpenError(path);
    return nullptr;
  }
  // fopen succeeds on a directory on some systems; reading it fails later, or not at all.
#ifdef _WIN32
  struct _stat64 info;
  const bool directory = _fstat64(_fileno(file.get()), &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
#else
  struct stat info;
  const bool directory = fstat(fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode);
#endif
  if (directory) {
    error = EISDIR;
    return nullptr;
  }
  return file;
}

FileHandle OpenWithoutTruncating(const std::string& path, bool& created, int& error) {
#ifdef _WIN32
  constexpr int kWrite = _O_WRONLY | _O_BINARY | _O_NOINHERIT;
  int fd = _open(path.c_str(), kWrite);
  created = false;
  if (fd < 0 && errno == ENOENT) {
    fd = _open(path.c_str(), kWrite | _O_CREAT | _O_EXCL, _S_IREAD | _S_IWRITE);
    created = fd >= 0;
  }
  if (fd < 0) {
    error = OpenError(path);
    return nullptr;
  }
  FileHandle file(_fdopen(fd, "wb"));
  if (!file) _close(fd);
#else
  constexpr int kWrite = O_WRONLY | O_CLOEXEC;
  int fd = open(path.c_str(), kWrite);
  created = false;
  if (fd < 0 && errno == ENOENT) {
    fd = open(path.c_str(), kWrite | O_CREAT | O_EXCL, 0666);
    created = fd >= 0;
  }
  if (fd < 0) {
    error = OpenError(path);
    return nullptr;
  }
  // fdopen never truncates, whatever its mode says.
  FileHandle file(fdopen(fd, "wb"));
  if (!file) close(fd);
#endif
  if (!file) error = errno != 0 ? errno : EIO;
  return file;
}

bool Truncate(std::FILE* file, int& error) {
  if (std::fflush(file) != 0) return Failed(error, errno);
#ifdef _WIN32
  const int fd = _fileno(file);
  if (_chsize_s(fd, 0) != 0) {
    // A device such as NUL has no size to change.
    if (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(fd))) != FILE_TYPE_DISK) return true;
    return Failed(error, errno);
  }
#else
  struct stat info;
  if (fstat(fileno(file), &info) != 0) return Failed(error, errno);
  if (!S_ISREG(info.st_mode)) return true;  // a device or pipe has nothing to empty
  if (ftruncate(fileno(file), 0) != 0) return Failed(error, errno);
#endif
  std::rewind(file);
  return true;
}

bool SeekTo(std::FILE* file, std::uint64_t offset, int& error) {
  errno = 0;
#ifdef _WIN32
  if (_fseeki64(file, static_cast<__int64>(offset), SEEK_SET) != 0) return Failed(error, errno);
#else
  if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) return Failed(error, errno);
#endif
  return true;
}

bool SyncToDisk(std::FILE* file, int& error) {
  if (std::fflush(file) != 0) return Failed(error, errno);
#ifdef _WIN32
  if (_commit(_fileno(file)) != 0 && errno != EBADF) return Failed(error, errno);
#else
  // Devices and pipes cannot be synced, and need not be.
  if (fsync(fileno(file)) != 0 && errno != EINVAL && errno != EROFS) return Failed(error, errno);
#endif
  return true;
}

std::optional<FileIdentity> IdentityOf(std::FILE* file) {
#ifdef _WIN32
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  if (GetFileType(handle) == FILE_TYPE_CHAR) return FileIdentity{0, 0, true};
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow, false};
#else
  struct stat info;
  if (fstat(fileno(file), &info) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
                      S_ISCHR(info.st_mode)};
#endif
}

bool RenameReplacing(const std::string& from, const std::string& to, int& error) {
#ifdef _WIN32
  // The ANSI entry point takes the same code page as fopen; rename() refuses to replace.
  if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Failed(error);
  }
#else
  if (std::rename(from.c_str(), to.c_str()) != 0) return Failed(error, errno);
#endif
  return true;
}

bool RemoveFile(const std::string& path, int& error) {
#ifdef _WIN32
  if (!DeleteFileA(path.c_str())) return Failed(error);
#else
  if (unlink(path.c_str()) != 0) return Failed(error, errno);
#endif
  return true;
}

bool MakeDirectory(const std::string& path, int& error) {
#ifdef _WIN32
  if (_mkdir(path.c_str()) != 0) return Failed(error, errno);
#else
  if (mkdir(path.c_str(), 0777) != 0) return Failed(error, errno);
#endif
  return true;
}

bool RemoveDirectory(const std::string& path, int& error) {
#ifdef _WIN32
  if (_rmdir(path.c_str()) != 0) return Failed(error, errno);
#else
  if (rmdir(path.c_str()) != 0) return Failed(error, errno);
#endif
  return true;
}

bool IsDirectory(const std::string& path) {
#ifdef _WIN32
  struct _stat64 info;
  return _stat64(path.c_str(), &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
#else
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
#endif
}

bool Exists(const std::string& path) {
#ifdef _WIN32
  struct _stat64 info;
  return _stat64(path.c_str(), &info) == 0;
#else
  struct stat info;
  return stat(path.c_str(), &info) == 0;
#endif
}

bool ListDirectory(const std::string& path, std::vector<std::string>& names, int& error) {
  names.clear();
#ifdef _WIN32
  WIN32_FIND_DATAA entry;
  const HANDLE find = FindFirstFileA(JoinPath(path, "*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return Failed(error);
  do {
    const std::string_view name = entry.cFileName;
    if (name != "." && name != "..") names.emplace_back(name);
  } while (FindNextFileA(find, &entry));
  const DWORD last = GetLastError();
  FindClose(find);
  if (last != ERROR_NO_MORE_FILES) {
    error = ErrnoOf(last);
    return false;
  }
#else
  DIR* directory = opendir(path.c_str());
  if (directory == nullptr) return Failed(error, errno);
  errno = 0;
  while (const dirent* entry = readdir(directory)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  const int last = errno;
  closedir(directory);
  if (last != 0) return Failed(error, last);
#endif
  return true;
}

bool RemoveTree(const std::string& path, int& error) {
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Failed(error);
  // A junction or directory link is removed as a directory, without entering it.
  const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
#else
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return Failed(error, errno);
  const bool directory = S_ISDIR(info.st_mode);
  const bool link = false;  // lstat: a link is not a directory
#endif
  if (!directory) return RemoveFile(path, error);
  if (!link) {
    std::vector<std::string> names;
    if (!ListDirectory(path, names, error)) return false;
    for (const std::string& name : names) {
      if (!RemoveTree(JoinPath(path, name), error)) return false;
    }
  }
  return RemoveDirectory(path, error);
}

std::optional<std::int64_t> ModifiedTime(const std::string& path) {
#ifdef _WIN32
  WIN32_FILE_ATTRIBUTE_DATA info;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info)) return std::nullopt;
  // 100-nanosecond intervals.
  const std::uint64_t ticks =
      std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32 | info.ftLastWriteTime.dwLowDateTime;
  return static_cast<std::int64_t>(ticks) * 100;
#else
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
#endif
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.empty() && NameStart(path) != path.size()) path += kDirectorySeparator;
  path += name;
  return path;
}

std::size_t NameStart(std::string_view path) {
#ifdef _WIN32
  // In code page 932 the second byte of a character such as 表 is 0x5C, "\".
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (IsDBCSLeadByte(byte) && i + 1 < path.size()) {
      ++i;
    } else if (byte == '\\' || byte == '/' || byte == ':') {
      start = i + 1;
    }
  }
  return start;
#else
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
#endif
}

}  // namespace velmorta
