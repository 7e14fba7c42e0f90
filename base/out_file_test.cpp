#include "base/out_file.hpp"

#include <gtest/gtest.h>

namespace velmorta {
namespace {

// Every line break becomes CR LF, wherever in a command it stands: the drill header
// "G90\nX0Y0\nT%ld\n" carries two of them in front of its number.
TEST(OutFile, WritesEveryLineBreakAsCrLf) {
  const struct {
    const char* head;
    std::int32_t value;
    const char* tail;
    const char* expected;
  } kCases[] = {
      {"G90\nX0Y0\nT", 9, "\n", "G90\r\nX0Y0\r\nT9\r\n"},
      {"T", 3, "*\n", "T3*\r\n"},
      {"X", -254, "", "X-254"},
      {"G71*G90*D", 16, "*D02*G01", "G71*G90*D16*D02*G01"},
  };
  for (const auto& c : kCases) {
    OutFile file = OutFile::InMemory();
    file.Put(c.head, c.value, c.tail);
    EXPECT_EQ(file.Text(), c.expected) << c.head;
  }
}

}  // namespace
}  // namespace velmorta
