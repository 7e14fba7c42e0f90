#pragma once
// An exclusive lock on a file, held by the system for this process: it ends when the
// object goes, or when the process ends however it ends, so a killed run never blocks
// the next one. Two locks on one file exclude each other within one process too.

#include <cstdint>
#include <string>

namespace velmorta {

class FileLock {
 public:
  enum class Outcome { Locked, Busy, Failed };

  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  // Opens `path`, creating it empty when it is missing, and takes the lock unless
  // someone holds it (Busy). Failed sets `error`.
  Outcome TryLock(const std::string& path, int& error);

 private:
  std::intptr_t handle_ = -1;  // a descriptor, or a Windows handle
};

}  // namespace velmorta
