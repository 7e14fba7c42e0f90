#include "base/file_lock.hpp"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace velmorta {

#ifdef _WIN32

FileLock::~FileLock() {
  // Closing the handle releases the lock.
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

FileLock::Outcome FileLock::TryLock(const std::string& path, int& error) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
    return Outcome::Failed;
  }
  // One byte far beyond any content: the lock guards nobody's reads or writes.
  OVERLAPPED at{};
  at.OffsetHigh = 0x40000000;
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    const DWORD why = GetLastError();
    CloseHandle(file);
    if (why == ERROR_LOCK_VIOLATION || why == ERROR_IO_PENDING) return Outcome::Busy;
    error = EIO;
    return Outcome::Failed;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return Outcome::Locked;
}

#else

FileLock::~FileLock() {
  if (handle_ != -1) close(static_cast<int>(handle_));
}

FileLock::Outcome FileLock::TryLock(const std::string& path, int& error) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = errno != 0 ? errno : EIO;
    return Outcome::Failed;
  }
  // flock, not fcntl: its lock belongs to this open file, not to the whole process.
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    const int why = errno;
    close(fd);
    if (why == EWOULDBLOCK) return Outcome::Busy;
    error = why != 0 ? why : EIO;
    return Outcome::Failed;
  }
  handle_ = fd;
  return Outcome::Locked;
}

#endif

}  // namespace velmorta
