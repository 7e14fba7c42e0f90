#include "base/executable_path.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmorta {
namespace {

TEST(ExecutablePath, ConfigurationPathBesideTheExecutable) {
  const struct {
    const char* executable;
    const char* configuration;
  } kCases[] = {
      {"/usr/bin/velmorta", "/usr/bin/velmorta.cfg"},
      {"/usr/bin/velmorta.exe", "/usr/bin/velmorta.cfg"},
      {"velmorta", "velmorta.cfg"},
      {"velmorta.exe", "velmorta.cfg"},
      {"/opt/velmorta.bin", "/opt/velmorta.cfg"},
      {"/opt/velmorta.py", "/opt/velmorta.py.cfg"},
      {"/opt/velmorta.html", "/opt/velmorta.html.cfg"},
      // A dot in a directory name is no extension of the file name.
      {"/opt/v1.2/velmorta", "/opt/v1.2/velmorta.cfg"},
      {"/opt/x.a/b", "/opt/x.a/b.cfg"},
#ifdef _WIN32
      {"C:\\Program Files\\conv.exe", "C:\\Program Files\\conv.cfg"},
      {"C:\\x.a\\b", "C:\\x.a\\b.cfg"},
      {"C:\\x.a\\velmorta.EXE", "C:\\x.a\\velmorta.cfg"},
#else
      // "\\" is a byte of a file name here, no separator.
      {"/opt/x.a\\b", "/opt/x.cfg"},
#endif
  };
  for (const auto& [executable, configuration] : kCases) {
    EXPECT_EQ(ConfigurationPath(executable), configuration) << executable;
  }
}

TEST(ExecutablePath, ComesFromTheSystemNotArgv0) {
  const std::filesystem::path path = ExecutablePath("not-the-program");
  EXPECT_TRUE(path.is_absolute()) << path;
  EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
  EXPECT_EQ(path.stem(), "velmorta_tests");
}

}  // namespace
}  // namespace velmorta
