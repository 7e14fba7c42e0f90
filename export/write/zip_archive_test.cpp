#include "export/write/zip_archive.hpp"

#include <gtest/gtest.h>

#include <system_error>

#include "export/export_test_support.hpp"

namespace velmorta::fab {
namespace {

using namespace testing;

// A system out of threads (a process or address-space limit) refuses the deflating
// thread: the archive is deflated on the caller's thread, byte for byte the same.
TEST(ZipArchive, DeflatesOnTheCallersThreadWhenNoThreadStarts) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 20000; ++i) {
    text.append("X").append(std::to_string(i * 37 % 9973)).append("Y").append(std::to_string(i)).append("D01*");
  }
  WriteFile(dir / "a.gbr", text);
  WriteFile(dir / "b.drl", "M48\r\nM30\r\n");
  const auto write = [&dir](const std::string& name, ZipArchive::StartThread start) {
    ZipArchive archive(dir / name, {}, start);
    archive.Add("a.gbr", dir / "a.gbr");
    archive.Add("b.drl", dir / "b.drl");
    archive.Finish();
    return ReadFile(dir / name);
  };
  const std::string threaded = write("threaded.zip", nullptr);
  const std::string inline_ = write("inline.zip", [](std::thread&, std::function<void()>) {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  });
  EXPECT_EQ(inline_, threaded);
  EXPECT_EQ(ReadArchive(inline_), (std::map<std::string, std::string>{{"a.gbr", text}, {"b.drl", "M48\r\nM30\r\n"}}));
}

}  // namespace
}  // namespace velmorta::fab
