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
        throw ExportError(Text::CannotLock, {{"file", set.lock}, {"reason", ReasonText(error)}});
      case FileLock::Outcome::Busy: break;
    }
    if (std::chrono::steady_clock::now() >= until) {
      const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(wait).count();
      throw ExportError(Text::AnotherExport, {{"file", set.lock}, {"seconds", std::to_string(seconds)}});
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace velmorta::fab
