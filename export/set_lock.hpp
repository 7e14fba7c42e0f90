#pragma once
// One export of a board at a time: the lock beside its set.

#include <chrono>

#include "base/file_lock.hpp"
#include "export/set_paths.hpp"

namespace velmorta::fab {

// How long a second export of the board waits for the first before it refuses.
inline constexpr std::chrono::milliseconds kLockWait{10'000};

// Takes `lock` on the set's lock file, waiting up to `wait` while another export holds
// it. Throws ExportError when that one runs longer or the lock cannot be taken.
void LockSet(FileLock& lock, const SetPaths& set, std::chrono::milliseconds wait);

}  // namespace velmorta::fab
