#include "export/progress.hpp"

#include <system_error>

namespace velmorta::fab {

Progress::Progress(std::ostream* terminal, Voice voice) : terminal_(terminal), voice_(voice) {
  if (terminal_ == nullptr) return;
  try {
    thread_ = std::thread([this] { Watch(); });
  } catch (const std::system_error&) {
    // No thread to be had: the export runs as well without saying so.
  }
}

Progress::~Progress() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    done_ = true;
  }
  changed_.notify_all();
  thread_.join();
  Show("");
}

void Progress::Step(Text key, std::initializer_list<Arg> args) {
  if (!thread_.joinable()) return;
  std::string line = voice_.Out(Say(voice_.Lang(), key, args));
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    step_ = std::move(line);
    stepChanged_ = true;
  }
  changed_.notify_all();
}

void Progress::Clear() {
  if (!thread_.joinable()) return;
  const std::lock_guard<std::mutex> lock(mutex_);
  Show("");
}

void Progress::Show(const std::string& line) {
  if (line == shown_) return;
  // Over the previous line, blanked to its length, then the cursor back at its start.
  std::string text = "\r" + line;
  if (line.size() < shown_.size()) text += std::string(shown_.size() - line.size(), ' ') + "\r" + line;
  *terminal_ << text << std::flush;
  shown_ = line;
}

void Progress::Watch() {
  const auto quiet = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  std::unique_lock<std::mutex> lock(mutex_);
  if (changed_.wait_until(lock, quiet, [this] { return done_; })) return;
  for (;;) {
    Show(step_);
    stepChanged_ = false;
    changed_.wait(lock, [this] { return done_ || stepChanged_; });
    if (done_) return;
  }
}

}  // namespace velmorta::fab
