#include "export/write/kicad_text.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace velmorta::fab {
namespace {

TEST(KicadText, MillimetresAndQuotedNames) {
  const std::pair<std::int64_t, const char*> lengths[] = {
      {0, "0"}, {25400, "25.4"}, {-50, "-0.05"}, {1, "0.001"}, {-1000, "-1"}, {123456, "123.456"},
      {std::numeric_limits<std::int64_t>::min(), "-9223372036854775.808"}};
  for (const auto& [micrometres, text] : lengths) EXPECT_EQ(KicadMillimetres(micrometres), text) << micrometres;

  const std::pair<const char*, const char*> names[] = {
      {"U1", "\"U1\""}, {"J1,PWR", "\"J1,PWR\""}, {"", "\"\""}, {"a\"b", "\"a\\\"b\""},
      {"c:\\d", "\"c:\\\\d\""}, {"抵抗1", "\"抵抗1\""}};
  for (const auto& [name, quoted] : names) EXPECT_EQ(KicadQuoted(name), quoted) << name;
}

}  // namespace
}  // namespace velmorta::fab
