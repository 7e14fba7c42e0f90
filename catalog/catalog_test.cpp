#include "catalog/catalog.hpp"

#include <gtest/gtest.h>

#include <map>

namespace velmorta {
namespace {

// Each key once in each language, with the same placeholders: a translation that drops
// "{file}" would hide the file from the reader.
TEST(Catalog, EveryKeyInBothLanguagesWithTheSamePlaceholders) {
  for (const auto entries : {EnglishEntries(), JapaneseEntries()}) {
    std::map<Text, int> seen;
    for (const Entry& e : entries) {
      EXPECT_EQ(++seen[e.key], 1) << "key " << static_cast<int>(e.key) << " twice";
      EXPECT_FALSE(e.text.empty()) << "key " << static_cast<int>(e.key);
    }
    EXPECT_EQ(seen.size(), kTextCount);
  }
  for (std::size_t k = 0; k < kTextCount; ++k) {
    const auto key = static_cast<Text>(k);
    EXPECT_EQ(PlaceholdersOf(Wording(Language::Japanese, key)), PlaceholdersOf(Wording(Language::English, key)))
        << Wording(Language::Japanese, key);
  }
}

TEST(Catalog, FillsNamedPlaceholdersOnce) {
  const Arg args[] = {{"file", "{line}"}, {"line", "7"}};
  EXPECT_EQ(Fill("{file}:{line}: {other} {", args), "{line}:7: {other} {");
  EXPECT_EQ(Say(Language::Japanese, Text::ErrorsMany, {{"count", "3"}}), "エラー 3 件");
}

}  // namespace
}  // namespace velmorta
