#include "export/set_lock.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "base/file_lock.hpp"
#include "base/files.hpp"
#include "export/read/export_error.hpp"
#include "export/export_test_support.hpp"
#include "export/fab_set.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;

std::string LockOf(const TempDir& dir) { return dir.path().string() + kDirectorySeparator + "board-fab.lock"; }

// A second export of the board waits while the first holds the lock, goes on as soon as
// it is free, and refuses, changing nothing, when the wait runs out.
TEST(SetLock, ASecondExportWaitsForTheFirst) {
  TempDir dir;
  ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
  ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
  ExportRequest request;
  request.base = dir / "board";
  request.configuration = dir / "velmorta.cfg";
  request.lockWait = std::chrono::milliseconds(1000);

  std::optional<FileLock> first(std::in_place);
  int error = 0;
  ASSERT_EQ(first->TryLock(LockOf(dir), error), FileLock::Outcome::Locked);
  const auto before = Snapshot(dir);
  try {
    ExportFabSet(request);
    ADD_FAILURE() << "exported while another export held the lock";
  } catch (const ExportError& refused) {
    EXPECT_EQ(std::string(refused.what()), "another export of this board is running (it holds " + LockOf(dir) +
                                               "; waited 1 s): let it finish, then export again");
  }
  EXPECT_EQ(Snapshot(dir), before);

  std::thread finish([&first] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    first.reset();
  });
  EXPECT_NO_THROW(ExportFabSet(request));
  finish.join();
  EXPECT_EQ(SetFault(dir), "");
}

#ifndef _WIN32
// The real program, its output in dir/run<n>.out and .err.
pid_t Start(const TempDir& dir, int n, const std::string& configuration) {
  const std::string out = dir / ("run" + std::to_string(n) + ".out"), err = dir / ("run" + std::to_string(n) + ".err");
  const std::string base = dir / "board";
  const pid_t child = fork();
  if (child != 0) return child;
  const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0) std::_Exit(127);
  execl(VELMORTA_EXPORT_BINARY, "velmorta-export", "--config", configuration.c_str(), base.c_str(), nullptr);
  std::_Exit(127);
}
#endif

// Exports of one board started at once (make -j, a file watcher, two windows): each
// ends 0, or 1 saying why, and what they leave is one whole set, its archive the
// folder's files, with nothing beside it. The two configurations differ in the mask
// openings, so that a set mixed of two runs would show.
TEST(SetLock, ExportsOfOneBoardAtOnceLeaveOneWholeSet) {
#ifdef _WIN32
  GTEST_SKIP() << "the runs are started with fork and exec";
#else
  TempDir dir;
  ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
  WriteFile(dir / "wide.cfg", ReadFile(dir / "velmorta.cfg") + ">E mask-expansion 0.1\n");
  constexpr int kRuns = 3;
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    pid_t runs[kRuns];
    for (int n = 0; n < kRuns; ++n) runs[n] = Start(dir, n, dir / ((n + round) % 2 == 0 ? "velmorta.cfg" : "wide.cfg"));
    for (int n = 0; n < kRuns; ++n) {
      int status = 0;
      ASSERT_EQ(waitpid(runs[n], &status, 0), runs[n]);
      ASSERT_TRUE(WIFEXITED(status)) << status;
      const std::string err = ReadFile(dir / ("run" + std::to_string(n) + ".err"));
      if (WEXITSTATUS(status) == 0) {
        EXPECT_EQ(err, "");
      } else {
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_NE(err.find("another export of this board is running"), std::string::npos) << err;
      }
    }
    EXPECT_EQ(SetFault(dir), "");
  }
#endif
}

}  // namespace
}  // namespace velmorta::fab
