#include "export/staged_set.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "base/files.hpp"
#include "export/export_test_support.hpp"
#include "export/set_paths.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// The set under its names (the folder's files, the archive, the lock), by relative path.
std::map<std::string, std::string> SetFiles(const TempDir& dir) {
  auto files = Snapshot(dir);
  std::erase_if(files, [](const auto& file) {
    const std::string& name = file.first;
    return !name.starts_with("board-fab/") && name != "board-fab.zip" && name != "board-fab.lock";
  });
  return files;
}

std::string InOutput(const TempDir& dir, const std::string& name) {
  return dir.path().string() + kDirectorySeparator + name;
}

// A board exported once, with its configuration then changed so that the next export
// writes another set (wider mask openings).
struct ExportedBoard {
  TempDir dir;
  ExportedBoard() {
    EXPECT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
    EXPECT_EQ(Export(dir, {dir / "board"}).status, 0);
    WriteFile(dir / "velmorta.cfg", ReadFile(dir / "velmorta.cfg") + ">E mask-expansion 0.1\n");
  }
};

int stopAt = -1, stepsSeen = 0;
bool FailAtStep(const std::string&, int& error) {
  if (stepsSeen++ != stopAt) return true;
  error = EACCES;
  return false;
}
// As a kill would: nothing cleaned up, no destructor run.
[[maybe_unused]] bool KillAtStep(const std::string&, int&) {
  if (stepsSeen++ == stopAt) std::_Exit(86);
  return true;
}

// The export, ended at step `stopAt` in a child process.
void ExportKilled(const TempDir& dir) {
#ifndef _WIN32
  const pid_t child = fork();
  if (child == 0) std::_Exit(Export(dir, {dir / "board"}, KillAtStep).status);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 86) << status;
#else
  (void)dir;
#endif
}

// The recovery of what a killed export left, itself killed at step `stopAt` in a child
// process; whether it was (rather than finishing).
bool RecoveryKilled(const TempDir& dir) {
#ifndef _WIN32
  const pid_t child = fork();
  if (child == 0) {
    stepsSeen = 0;
    try {
      StagedSet::Recover(SetPaths::Of(InOutput(dir, "board-fab")), KillAtStep);
    } catch (...) {
      std::_Exit(2);
    }
    std::_Exit(0);
  }
  int status = 0;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << status;
  return WIFEXITED(status) && WEXITSTATUS(status) == 86;
#else
  (void)dir;
  return false;
#endif
}

// Every step of the swap, the journal's writes too, stopped in turn: the run that
// stops leaves the previous set or the new one whole under the names (at once when it
// fails; after the next run's recovery, killed or not, when it is killed), and the next
// run succeeds and leaves nothing over.
void StopAtEveryStep(bool kill) {
  std::map<std::string, std::string> previous, next;
  int steps = 0;
  {
    ExportedBoard board;
    previous = SetFiles(board.dir);
    stopAt = -1;
    stepsSeen = 0;
    ASSERT_EQ(Export(board.dir, {board.dir / "board"}, FailAtStep).status, 0);
    steps = stepsSeen;
    next = SetFiles(board.dir);
  }
  ASSERT_NE(previous, next);
  ASSERT_GE(steps, 12);
  for (int step = 0; step < steps; ++step) {
    SCOPED_TRACE((kill ? "killed at step " : "failed at step ") + std::to_string(step));
    ExportedBoard board;
    const TempDir& dir = board.dir;
    stopAt = step;
    stepsSeen = 0;
    if (kill) {
      ExportKilled(dir);
      // The next run's recovery killed too, at each of its own steps in turn.
      for (stopAt = 0; RecoveryKilled(dir); ++stopAt) {
      }
      StagedSet::Recover(SetPaths::Of(InOutput(dir, "board-fab")));
      const auto found = SetFiles(dir);
      EXPECT_TRUE(found == previous || found == next);
      EXPECT_EQ(SetFault(dir), "");
    } else {
      // Once the new set is in place, what fails is removing the previous one: a warning,
      // and the next run removes it.
      const Result result = Export(dir, {dir / "board"}, FailAtStep);
      const bool kept = result.status == 1;
      EXPECT_EQ(SetFiles(dir), kept ? previous : next);
      EXPECT_TRUE(kept ? result.err.starts_with("velmorta-export: cannot ") &&
                             result.err.find(": Permission denied; ") != std::string::npos
                       : result.err.starts_with("velmorta-export: warning: the new set is in place, but cannot remove "))
          << result.err;
    }
    const Result after = Export(dir, {dir / "board"});
    EXPECT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(SetFiles(dir), next);
    EXPECT_EQ(SetFault(dir), "");
  }
}

TEST(StagedSet, AFailureAtAnyStepLeavesAWholeSet) { StopAtEveryStep(false); }

TEST(StagedSet, AKillAtAnyStepLeavesAWholeSet) {
#ifdef _WIN32
  GTEST_SKIP() << "the kill runs in a forked child, which Windows has not";
#endif
  StopAtEveryStep(true);
}

bool Shell(const std::string& command, const std::string& path) {
  return std::system((command + " " + velmorta::testing::ShellQuote(path) + " 2>/dev/null").c_str()) == 0;
}

// A previous set that the user protected is refused before anything is written, and
// exported over once the protection is lifted. Permissions do not stop root, nor a
// read-only file a POSIX folder's removal: the set is then replaced as usual. Windows
// refuses to remove a read-only file.
TEST(StagedSet, RefusesAPreviousSetThatCannotBeRemoved) {
#ifdef _WIN32
  constexpr bool kWindows = true;
#else
  constexpr bool kWindows = false;
#endif
  const auto chattr = [](bool on) {
    return [on](const std::string& path) { return Shell(on ? "chattr +i" : "chattr -i", path); };
  };
  const auto writable = [](bool on) {
    return [on](const std::string& path) {
      std::error_code error;
      fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      on ? fs::perm_options::add : fs::perm_options::remove, error);
      return !error;
    };
  };
  const struct {
    std::function<bool(const std::string&)> protect, lift;
    const char* path;
    bool mayPass;
  } kCases[] = {
      {chattr(true), chattr(false), "board-fab/board.GTL", false},
      {chattr(true), chattr(false), "board-fab", false},
      {chattr(true), chattr(false), "board-fab.zip", false},
      {writable(false), writable(true), "board-fab", true},
      {writable(false), writable(true), "board-fab/board.GTL", !kWindows},
  };
  std::string skipped;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.path);
    ExportedBoard board;
    const TempDir& dir = board.dir;
    const auto before = SetFiles(dir);
    if (!c.protect(dir / c.path)) {
      skipped = "chattr +i failed (not root, or a file system without the attribute); ";
      continue;
    }
    const Result result = Export(dir, {dir / "board"});
    ASSERT_TRUE(c.lift(dir / c.path));
    std::string blocker = c.path;  // as the export spells it
    std::replace(blocker.begin(), blocker.end(), '/', kDirectorySeparator);
    if (result.status == 0) {
      EXPECT_TRUE(c.mayPass);
    } else {
      EXPECT_EQ(result.status, 1);
      EXPECT_TRUE(result.err.starts_with("velmorta-export: cannot replace the previous set " + InOutput(dir, "board-fab") +
                                         ": " + InOutput(dir, blocker) + " cannot be removed ("))
          << result.err;
      EXPECT_NE(result.err.find("); lift its protection or move the previous set away, then export again\n"),
                std::string::npos);
      EXPECT_EQ(SetFiles(dir), before);
    }
    EXPECT_EQ(SetFault(dir), "");
    EXPECT_EQ(Export(dir, {dir / "board"}).status, 0);
    EXPECT_EQ(SetFault(dir), "");
  }
  if (!skipped.empty()) GTEST_SKIP() << skipped;
}

// A disk that fills up while the set is written: status 1, the file named, the
// previous set whole and nothing of the new one left.
TEST(StagedSet, AFullDiskKeepsThePreviousSet) {
#ifdef _WIN32
  GTEST_SKIP() << "a small file system is mounted with mount(8)";
#endif
  TempDir dir;
  if (!Shell("mount -t tmpfs -o size=512k tmpfs", dir.path().string())) {
    GTEST_SKIP() << "mounting a small file system needs root";
  }
  struct Unmount {
    std::string path;
    ~Unmount() { Shell("umount", path); }
  } unmount{dir.path().string()};
  ASSERT_EQ(ConvertExampleBoard(dir, "board.pad"), 0);
  ASSERT_EQ(Export(dir, {dir / "board"}).status, 0);
  WriteFile(dir / "velmorta.cfg", ReadFile(dir / "velmorta.cfg") + ">E mask-expansion 0.1\n");
  const auto before = SetFiles(dir);
  {
    std::ofstream filler(dir / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
    }
  }
  // Room for the journal and the first files of the set, not for all of it.
  fs::resize_file(dir / "filler", fs::file_size(dir / "filler") - 6 * 4096);
  const Result full = Export(dir, {dir / "board"});
  EXPECT_EQ(full.status, 1);
  EXPECT_NE(full.err.find(": No space left on device; the previous set is kept"), std::string::npos) << full.err;
  EXPECT_EQ(SetFiles(dir), before);
  EXPECT_EQ(SetFault(dir), "");
  fs::remove(dir / "filler");
  EXPECT_EQ(Export(dir, {dir / "board"}).status, 0);
  EXPECT_NE(SetFiles(dir), before);
  EXPECT_EQ(SetFault(dir), "");
}

}  // namespace
}  // namespace velmorta::fab
