#include "base/files.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

#include "test_support/test_support.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

namespace velmorta {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(Files, NameStartsAfterTheLastSeparator) {
  struct Case {
    std::string_view path;
    std::size_t start;
  };
  static constexpr Case kCases[] = {
      {"", 0}, {"board", 0}, {"out/board", 4}, {"a/b/", 4}, {"/board", 1},
#ifdef _WIN32
      {"out\\board", 4}, {"C:board", 2}, {"a\\b/c", 4},
#else
      {"out\\board", 0},  // a file name with a backslash in it
#endif
  };
  for (const Case& c : kCases) EXPECT_EQ(NameStart(c.path), c.start) << c.path;
#ifdef _WIN32
  // 表 is 0x95 0x5C in code page 932: its second byte is no separator there.
  if (GetACP() == 932) {
    EXPECT_EQ(NameStart("out\\\x95\x5C"), 4u);
    EXPECT_EQ(NameStart("\x95\x5C\\b"), 3u);
  }
#endif
}

TEST(Files, OpeningForWritingKeepsTheBytesUntilTruncated) {
  TempDir dir;
  const std::string path = dir / "kept.gbr";
  WriteFile(path, "previous run");
  bool created = true;
  int error = 0;
  FileHandle kept = OpenWithoutTruncating(path, created, error);
  ASSERT_TRUE(kept);
  EXPECT_FALSE(created);
  EXPECT_EQ(ReadFile(path), "previous run");
  ASSERT_TRUE(Truncate(kept.get(), error));
  std::fputs("new", kept.get());
  kept.reset();
  EXPECT_EQ(ReadFile(path), "new");

  FileHandle fresh = OpenWithoutTruncating(dir / "fresh.gbr", created, error);
  ASSERT_TRUE(fresh);
  EXPECT_TRUE(created);
  EXPECT_FALSE(OpenWithoutTruncating(dir / "missing/x.gbr", created, error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(OpenForReading(dir.path().string(), error));
  EXPECT_EQ(error, EISDIR);
}

TEST(Files, IdentityIsTheFileNotItsSpelling) {
  TempDir dir;
  WriteFile(dir / "a.gbr", "a");
  WriteFile(dir / "b.gbr", "b");
  std::error_code linked;
  std::filesystem::create_hard_link(dir / "a.gbr", dir / "link.gbr", linked);
  int error = 0;
  const auto id = [&](const std::string& path) {
    const FileHandle file = OpenForReading(path, error);
    return file ? IdentityOf(file.get()) : std::nullopt;
  };
  ASSERT_TRUE(id(dir / "a.gbr"));
  EXPECT_EQ(id(dir / "a.gbr"), id((dir.path() / "." / "a.gbr").string()));
  EXPECT_NE(id(dir / "a.gbr"), id(dir / "b.gbr"));
  if (!linked) {
    EXPECT_EQ(id(dir / "a.gbr"), id(dir / "link.gbr"));
  }
#ifdef _WIN32
  const auto device = id("NUL");
#else
  const auto device = id("/dev/null");
#endif
  ASSERT_TRUE(device);
  EXPECT_TRUE(device->device);
}

TEST(Files, RenameReplacesAnExistingFile) {
  TempDir dir;
  WriteFile(dir / "new.part", "new");
  WriteFile(dir / "old.gbr", "old");
  int error = 0;
  ASSERT_TRUE(RenameReplacing(dir / "new.part", dir / "old.gbr", error));
  EXPECT_EQ(ReadFile(dir / "old.gbr"), "new");
  EXPECT_FALSE(Exists(dir / "new.part"));
  EXPECT_FALSE(RenameReplacing(dir / "new.part", dir / "old.gbr", error));
  EXPECT_EQ(error, ENOENT);
}

// A tree removed whole, links not followed; listings without "." and ".."; the newer
// of two files told by its time.
TEST(Files, ListsAndRemovesDirectoriesAndTellsTheirTimes) {
  TempDir dir;
  const std::string tree = dir / "tree";
  int error = 0;
  ASSERT_TRUE(MakeDirectory(tree, error));
  ASSERT_TRUE(MakeDirectory(JoinPath(tree, "sub"), error));
  WriteFile(JoinPath(tree, "a.gbr"), "a");
  WriteFile(JoinPath(JoinPath(tree, "sub"), "b.gbr"), "b");
  WriteFile(dir / "kept.gbr", "kept");
#ifndef _WIN32
  std::filesystem::create_directory_symlink(dir.path(), std::filesystem::path(tree) / "link");
#endif
  std::vector<std::string> names;
  ASSERT_TRUE(ListDirectory(tree, names, error));
  std::sort(names.begin(), names.end());
#ifndef _WIN32
  EXPECT_EQ(names, (std::vector<std::string>{"a.gbr", "link", "sub"}));
#else
  EXPECT_EQ(names, (std::vector<std::string>{"a.gbr", "sub"}));
#endif
  ASSERT_TRUE(RemoveTree(tree, error));
  EXPECT_FALSE(Exists(tree));
  EXPECT_EQ(ReadFile(dir / "kept.gbr"), "kept");
  EXPECT_FALSE(RemoveTree(tree, error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(ListDirectory(tree, names, error));

  const auto earlier = ModifiedTime(dir / "kept.gbr");
  ASSERT_TRUE(earlier.has_value());
  std::filesystem::last_write_time(dir / "kept.gbr",
                                   std::filesystem::last_write_time(dir / "kept.gbr") + std::chrono::seconds(2));
  EXPECT_GT(*ModifiedTime(dir / "kept.gbr"), *earlier);
  EXPECT_FALSE(ModifiedTime(tree).has_value());

  EXPECT_EQ(JoinPath("", "a"), "a");
  EXPECT_EQ(JoinPath("out/", "a"), "out/a");
  EXPECT_EQ(JoinPath("out", "a"), std::string("out") + kDirectorySeparator + "a");
}

}  // namespace
}  // namespace velmorta
