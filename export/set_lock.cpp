#include "export/set_lock.hpp"

#include <thread>

#include "base/files.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {

void LockSet(FileLock& lock, const SetPaths& set, std::chrono::milliseconds wait) {
  const auto until = std::chrono::steady_clock::now() + wait;
  for (;;) {
    int error = 0;
    switch (lock.TryLock(set.lock, error)) {
      case FileLock::Outcome::Locked: return;
      case FileLock::Outcome::Failed:
        throw ExportError("cannot lock " + set.lock + ": " + ReasonText(error) +
                          "; check that the output folder may be written");
      case FileLock::Outcome::Busy: break;
    }
    if (std::chrono::steady_clock::now() >= until) {
      const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(wait).count();
      throw ExportError("another export of this board is running (it holds " + set.lock + "; waited " +
                        std::to_string(seconds) + " s): let it finish, then export again");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace velmorta::fab
