#pragma once
// What a long export is doing, for a person at a terminal: once the run has taken about
// a second, its current step on one line of standard error, rewritten as the steps
// change and cleared at the end. Short runs, and runs into a pipe or a file, say nothing.

#include <chrono>
#include <condition_variable>
#include <initializer_list>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include "base/voice.hpp"
#include "catalog/catalog.hpp"

namespace velmorta::fab {

class Progress {
 public:
  // Silent when `terminal` is null.
  explicit Progress(std::ostream* terminal, Voice voice = {});
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;
  ~Progress();  // clears the line

  void Step(Text key, std::initializer_list<Arg> args = {});
  // Clears the line, for a message that must stand on a line of its own.
  void Clear();

 private:
  void Watch();     // the thread: shows each new step once the second is over
  void Show(const std::string& line);  // with the mutex held

  std::ostream* terminal_;
  Voice voice_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string step_;       // guarded by mutex_, as are the four below
  std::string shown_;      // on the terminal now
  bool stepChanged_ = false;
  bool done_ = false;
  std::thread thread_;     // started last; none when silent or without a thread to be had
};

}  // namespace velmorta::fab
