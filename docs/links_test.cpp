// The relative links of the README, the guides and the developer notes: each finds its
// file, and each "#anchor" into a page finds a heading of that page, as GitHub names
// headings (lower case, punctuation dropped, blanks made hyphens).

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

const std::string kSource = VELMORTA_SOURCE_DIR;

// A UTF-8 code point that GitHub drops from an anchor: ASCII punctuation but '-' and
// '_', and the Japanese punctuation of the headings (、。「」（）：and the like).
bool DroppedFromAnchor(char32_t c) {
  if (c < 0x80) return !(std::isalnum(static_cast<int>(c)) || c == '-' || c == '_' || c == ' ');
  return (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF0F) || (c >= 0xFF1A && c <= 0xFF20) ||
         (c >= 0xFF3B && c <= 0xFF40) || (c >= 0xFF5B && c <= 0xFF65);
}

std::string Anchor(const std::string& heading) {
  std::string anchor;
  for (std::size_t i = 0; i < heading.size();) {
    const auto lead = static_cast<unsigned char>(heading[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length && i + k < heading.size(); ++k) c = c << 6 | (heading[i + k] & 0x3F);
    if (c == ' ') {
      anchor += '-';
    } else if (!DroppedFromAnchor(c)) {
      anchor += length == 1 ? static_cast<char>(std::tolower(lead)) : heading[i];
      anchor.append(heading, i + 1, length - 1);
    }
    i += length;
  }
  return anchor;
}

std::set<std::string> Anchors(const std::string& text) {
  std::set<std::string> anchors;
  std::istringstream lines(text);
  bool inFence = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("```", 0) == 0) inFence = !inFence;
    const std::size_t hashes = line.find_first_not_of('#');
    if (inFence || hashes == 0 || hashes > 6 || hashes == std::string::npos || line[hashes] != ' ') continue;
    anchors.insert(Anchor(line.substr(hashes + 1)));
  }
  return anchors;
}

TEST(GuideLinks, EveryRelativeLinkFindsItsFileAndHeading) {
  static const std::regex kLink(R"(\]\(([^)]*)\))");
  for (const std::string page : {"README.md", "docs/development.md", "docs/guide.md", "docs/guide.ja.md"}) {
    const std::string text = testing::ReadFile(kSource + "/" + page);
    ASSERT_FALSE(text.empty()) << page;
    const std::filesystem::path path = kSource + "/" + page;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kLink); it != std::sregex_iterator(); ++it) {
      const std::string link = (*it)[1];
      if (link.find(':') != std::string::npos) continue;  // a web address
      const std::string file = link.substr(0, link.find('#'));
      const std::filesystem::path target = file.empty() ? path : path.parent_path() / file;
      if (!std::filesystem::exists(target)) {
        ADD_FAILURE() << page << ": the link " << link << " finds no file";
        continue;
      }
      const std::size_t hash = link.find('#');
      if (hash == std::string::npos || target.extension() != ".md") continue;
      EXPECT_TRUE(Anchors(testing::ReadFile(target.string())).count(link.substr(hash + 1)))
          << page << ": the link " << link << " finds no heading";
    }
  }
}

}  // namespace
}  // namespace velmorta
