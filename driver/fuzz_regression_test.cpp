// Inputs the fuzz targets found wrong output or faults on, kept as regression cases.
#include <gtest/gtest.h>

#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

std::string ExampleConfiguration() {
  return testing::ReadFile(VELMORTA_SOURCE_DIR "/examples/velmorta.cfg");
}

TEST(FuzzRegression, ExactOutputs) {
  const struct {
    const char* what;
    std::string configuration;
    std::string pad;
    int file;
    std::string expected;
  } kCases[] = {
      // The drill header's own line breaks became bare LF.
      {"drill header lines end in CR LF", ExampleConfiguration(), "*** Pitch 1 *** Parts", 5,
       "G90\r\nX0Y0\r\nT9\r\nT3\r\nM02\r\n"},
  };
  for (const auto& c : kCases) {
    const testing::Conversion result = testing::Convert(c.configuration, c.pad);
    EXPECT_EQ(result.out[static_cast<std::size_t>(c.file)], c.expected) << c.what;
  }
}

}  // namespace
}  // namespace velmorta
