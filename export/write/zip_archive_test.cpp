#include "export/write/zip_archive.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "export/export_test_support.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;

void NoThread(std::thread&, std::function<void()>) {
  throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
}

// Lines of a Gerber file, enough of them for zlib to give out bytes before the end.
std::string Coordinates(int lines, int seed) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text.append("X").append(std::to_string((i * 37 + seed) % 9973)).append("Y").append(std::to_string(i)).append("D01*");
  }
  return text;
}

using Texts = std::vector<std::pair<std::string, std::string>>;  // name, bytes

// The entries written one after the other, each in pieces as a file's buffer hands them.
std::string Sequential(const TempDir& dir, const std::string& name, const Texts& texts,
                       ZipArchive::StartThread start) {
  {
    ZipArchive archive(dir / name, {}, dir.path().string(), start);
    for (const auto& [entryName, bytes] : texts) {
      ZipEntry entry = archive.Open(entryName, entryName);
      for (std::size_t at = 0; at < bytes.size(); at += 4096) entry.Write(std::string_view(bytes).substr(at, 4096));
      entry.Close();
    }
    archive.Finish();
  }
  return ReadFile(dir / name);
}

// A system out of threads (a process or address-space limit) refuses the deflating
// thread: the archive is deflated on the caller's thread, byte for byte the same.
TEST(ZipArchive, DeflatesOnTheCallersThreadWhenNoThreadStarts) {
  TempDir dir;
  const std::string text = Coordinates(20000, 0);
  const Texts texts = {{"a.gbr", text}, {"b.drl", "M48\r\nM30\r\n"}};
  const std::string threaded = Sequential(dir, "threaded.zip", texts, nullptr);
  const std::string inline_ = Sequential(dir, "inline.zip", texts, NoThread);
  EXPECT_EQ(inline_, threaded);
  EXPECT_EQ(ReadArchive(inline_), (std::map<std::string, std::string>{{"a.gbr", text}, {"b.drl", "M48\r\nM30\r\n"}}));
}

// Entries open at once and written in turns lie in the archive as if written one after
// the other: b, closed while a is open, goes in whole behind it; c, still open then,
// goes in as far as it came and the rest follows. Nothing they waited in is left.
TEST(ZipArchive, EntriesOpenAtOnceGiveTheArchiveOfOneAfterTheOther) {
  const Texts texts = {{"a.gbr", Coordinates(30000, 1)}, {"b.drl", "M48\r\nM30\r\n"}, {"c.gbr", Coordinates(60000, 2)}};
  for (const ZipArchive::StartThread start : {ZipArchive::StartThread{}, &NoThread}) {
    SCOPED_TRACE(start == nullptr ? "threaded" : "no thread");
    TempDir dir, held;
    {
      ZipArchive archive(dir / "interleaved.zip", {}, held.path().string(), start);
      std::vector<ZipEntry> entries;
      for (const auto& [name, bytes] : texts) entries.push_back(archive.Open(name, name));
      std::vector<bool> open(texts.size(), true);
      for (std::size_t at = 0; std::find(open.begin(), open.end(), true) != open.end(); at += 4096) {
        for (std::size_t n = 0; n < texts.size(); ++n) {
          if (!open[n]) continue;
          entries[n].Write(std::string_view(texts[n].second).substr(at, 4096));
          if (at + 4096 >= texts[n].second.size()) {
            entries[n].Close();
            open[n] = false;
          }
        }
      }
      archive.Finish();
    }
    const std::string interleaved = ReadFile(dir / "interleaved.zip");
    EXPECT_TRUE(interleaved == Sequential(dir, "sequential.zip", texts, start)) << "not the bytes of one after the other";
    EXPECT_TRUE(std::filesystem::is_empty(held.path()));
  }
}

// A failure where the entries are deflated (here: no folder to hold one that waits)
// ends the archive with the error naming it, from Close or Finish, whichever comes next.
TEST(ZipArchive, AFailureWhileDeflatingNamesTheArchive) {
  for (const ZipArchive::StartThread start : {ZipArchive::StartThread{}, &NoThread}) {
    SCOPED_TRACE(start == nullptr ? "threaded" : "no thread");
    TempDir dir;
    std::string error;
    try {
      ZipArchive archive(dir / "board-fab.zip", {}, dir / "gone", start);
      ZipEntry a = archive.Open("a.gbr", "a.gbr"), b = archive.Open("b.drl", "b.drl");
      b.Write("M48\r\nM30\r\n");
      b.Close();
      a.Write(Coordinates(1000, 0));
      a.Close();
      archive.Finish();
    } catch (const ExportError& failure) {
      error = failure.what();
    }
    EXPECT_EQ(error, "cannot write " + dir / "board-fab.zip" + ": " + ReasonText(ENOENT));
  }
}

}  // namespace
}  // namespace velmorta::fab
