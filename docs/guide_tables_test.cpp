// The size-class, hole and header-entry tables of the user's guides, read from
// docs/guide.md and its translations and compared with what the converter uses and with
// the example configuration the guides quote, so that no guide can drift from the code.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "config/config_reader.hpp"
#include "plot/aperture_rules.hpp"
#include "plot/list_index.hpp"
#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

constexpr std::string_view kLessOrEqual = "\xE2\x89\xA4";  // ≤
constexpr std::string_view kEnDash = "\xE2\x80\x93";       // –
constexpr std::string_view kNone = "\xE2\x80\x94";         // —

// A table of the guide that follows a marker comment "<!-- MARKER -->" on its own line.
struct MarkedTable {
  std::string marker;
  std::vector<std::vector<std::string>> rows;  // header and delimiter rows left out
};

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

std::vector<std::string> Cells(const std::string& row) {
  std::vector<std::string> cells;
  std::size_t start = row.find('|') + 1;
  for (std::size_t bar; (bar = row.find('|', start)) != std::string::npos; start = bar + 1) {
    cells.push_back(Trimmed(std::string_view(row).substr(start, bar - start)));
  }
  return cells;
}

std::vector<MarkedTable> MarkedTables(const std::string& guide) {
  std::vector<std::string> lines;
  std::istringstream in(guide);
  for (std::string line; std::getline(in, line);) lines.push_back(Trimmed(line));
  std::vector<MarkedTable> tables;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!line.starts_with("<!-- ") || !line.ends_with(" -->")) continue;
    const std::string marker = line.substr(5, line.size() - 9);
    if (!marker.starts_with("class-table") && marker != "entry-table") continue;
    MarkedTable table{marker, {}};
    std::size_t row = i + 1;
    while (row < lines.size() && lines[row].empty()) ++row;
    for (std::size_t n = 0; row < lines.size() && lines[row].starts_with('|'); ++row, ++n) {
      if (n >= 2) table.rows.push_back(Cells(lines[row]));  // past the header and delimiter
    }
    tables.push_back(table);
  }
  return tables;
}

std::optional<std::int64_t> Integer(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "1.64" at scale 100 is 164; nullopt when the text has more decimals than the scale.
std::optional<std::int64_t> Scaled(std::string_view decimal, int scale) {
  const auto point = decimal.find('.');
  const auto whole = Integer(decimal.substr(0, point));
  if (!whole) return std::nullopt;
  std::int64_t value = *whole * scale;
  if (point == std::string_view::npos) return value;
  for (const char digit : decimal.substr(point + 1)) {
    scale /= 10;
    if (scale == 0 || digit < '0' || digit > '9') return std::nullopt;
    value += (digit - '0') * scale;
  }
  return value;
}

// The codes of a class row: "≤ N", "A–B", "> N" or "N".
std::optional<std::pair<std::int64_t, std::int64_t>> Codes(std::string_view cell) {
  if (cell.starts_with(kLessOrEqual)) {
    if (const auto n = Integer(Trimmed(cell.substr(kLessOrEqual.size())))) return std::pair<std::int64_t, std::int64_t>{INT32_MIN, *n};
  } else if (cell.starts_with('>')) {
    if (const auto n = Integer(Trimmed(cell.substr(1)))) return std::pair<std::int64_t, std::int64_t>{*n + 1, INT32_MAX};
  } else if (const auto dash = cell.find(kEnDash); dash != std::string_view::npos) {
    const auto a = Integer(cell.substr(0, dash)), b = Integer(cell.substr(dash + kEnDash.size()));
    if (a && b) return std::pair{*a, *b};
  } else if (const auto n = Integer(cell)) {
    return std::pair{*n, *n};
  }
  return std::nullopt;
}

// "D14", "T3": an aperture or tool number as the tables write it.
std::string Numbered(char list, std::int64_t number) {
  std::string text(1, list);
  text += std::to_string(number);
  return text;
}

std::string ReadSource(const std::string& relative) {
  const std::string text = testing::ReadFile(std::string(VELMORTA_SOURCE_DIR) + "/" + relative);
  EXPECT_FALSE(text.empty()) << relative;
  return text;
}

// The code an entry of `key` gives in a list: the last entry with the key, or the
// nearest earlier one with a code.
std::optional<std::int32_t> CodeOfKey(const CodeList& list, std::int32_t key) {
  const ListIndex index(list);
  const auto at = index.LastWithKey(key);
  if (!at) return std::nullopt;
  const auto code = index.NonZeroAtOrBefore(*at);
  return code ? std::optional(index.code(*code)) : std::nullopt;
}

// Each guide with its marked tables: the English one always, and a translation once it
// has any, when it must have every one the English guide has.
std::vector<std::pair<std::string, std::vector<MarkedTable>>> Guides() {
  std::vector<std::pair<std::string, std::vector<MarkedTable>>> guides;
  for (const std::string guide : {"docs/guide.md", "docs/guide.ja.md"}) {
    std::vector<MarkedTable> tables = MarkedTables(testing::ReadFile(std::string(VELMORTA_SOURCE_DIR) + "/" + guide));
    if (guides.empty() || !tables.empty()) guides.emplace_back(guide, std::move(tables));
  }
  return guides;
}

struct ClassKind {
  std::string_view name;
  std::function<std::optional<std::int32_t>(PitchMode, std::int32_t)> key;
  bool lands;  // >R keys (size × 100) rather than >D keys (size × 10)
};

void CheckSizeClasses(const std::vector<MarkedTable>& tables) {
  const std::vector<ClassKind> kKinds = {
      {"line-bottom", [](PitchMode p, std::int32_t c) { return LineClassKey(p, c, BoardSide::First); }, false},
      {"line-top", [](PitchMode p, std::int32_t c) { return LineClassKey(p, c, BoardSide::Second); }, false},
      {"aux-land", AuxLandClassKey, false},
      {"land", LandClassKey, true},
  };
  const Settings example = ParseConfiguration(ReadSource("examples/velmorta.cfg"));
  std::map<std::string, int> seen;
  for (const MarkedTable& table : tables) {
    for (const ClassKind& kind : kKinds) {
      for (const int pitch : {1, 2}) {
        const std::string marker = "class-table kind=" + std::string(kind.name) + " pitch=" + std::to_string(pitch);
        if (table.marker != marker) continue;
        SCOPED_TRACE(marker);
        ++seen[marker];
        const CodeList& list = kind.lands ? example.LandApertureList : example.LineApertureList;
        std::int64_t next = INT32_MIN;  // the rows cover every code once, in order
        for (const auto& row : table.rows) {
          ASSERT_EQ(row.size(), 4u) << row[0];
          const auto codes = Codes(row[0]);
          ASSERT_TRUE(codes) << "codes " << row[0];
          EXPECT_EQ(codes->first, next) << row[0];
          next = codes->second + 1;
          const std::optional<std::int32_t> key =
              row[1] == "none" ? std::nullopt : std::optional(static_cast<std::int32_t>(Integer(row[1]).value_or(-1)));
          const std::int64_t from = std::max<std::int64_t>(codes->first, -40);
          const std::int64_t to = std::min<std::int64_t>(codes->second, 200);
          for (const std::int64_t code : {codes->first, from, (from + to) / 2, to, codes->second}) {
            EXPECT_EQ(kind.key(static_cast<PitchMode>(pitch), static_cast<std::int32_t>(code)), key) << "code " << code;
          }
          if (!key) {
            EXPECT_EQ(row[2], kNone);
            EXPECT_EQ(row[3], kNone);
            continue;
          }
          EXPECT_EQ(Scaled(row[2], kind.lands ? 100 : 10), *key) << "size " << row[2];
          const auto code = CodeOfKey(list, *key);
          EXPECT_EQ(row[3], code ? Numbered('D', *code) : "no entry in examples/velmorta.cfg") << row[0];
        }
        EXPECT_EQ(next, std::int64_t{INT32_MAX} + 1) << "the last row ends before every code is covered";
      }
    }
  }
  for (const ClassKind& kind : kKinds) {
    for (const int pitch : {1, 2}) {
      const std::string marker = "class-table kind=" + std::string(kind.name) + " pitch=" + std::to_string(pitch);
      EXPECT_EQ(seen[marker], 1) << marker;
    }
  }
}

TEST(GuideTables, SizeClassesAreTheConvertersWithTheExampleSizes) {
  for (const auto& [guide, tables] : Guides()) {
    SCOPED_TRACE(guide);
    CheckSizeClasses(tables);
  }
}

// The hole table lists the example's >T lines; each diameter is drilled with its tool
// by a conversion, and a diameter of no line selects none.
void CheckHoleTable(const std::vector<MarkedTable>& tables) {
  const std::string configuration = ReadSource("examples/velmorta.cfg");
  const Settings example = ParseConfiguration(configuration);
  const auto drill = [&](std::int64_t diameter) {
    const auto run = testing::Convert(configuration, "*** Pitch 1 *** Hole 150,150," + std::to_string(diameter));
    EXPECT_FALSE(run.fatal) << diameter;
    return run.out[5];
  };
  int holeTables = 0;
  for (const MarkedTable& table : tables) {
    if (table.marker != "class-table kind=hole") continue;
    ++holeTables;
    ASSERT_EQ(table.rows.size(), example.ToolList.size() + 1);
    std::set<std::int64_t> listed;
    for (std::size_t i = 0; i < example.ToolList.size(); ++i) {
      const auto& row = table.rows[i];
      ASSERT_EQ(row.size(), 4u);
      SCOPED_TRACE(row[0]);
      const ListEntry& entry = example.ToolList[i];
      const auto diameter = Integer(row[0]);
      ASSERT_TRUE(diameter);
      listed.insert(*diameter);
      EXPECT_EQ(*diameter * 10, entry.key);
      EXPECT_EQ(Integer(row[1]), entry.key);
      EXPECT_EQ(Scaled(row[2], 100), entry.key) << "size " << row[2];
      EXPECT_EQ(row[3], Numbered('T', entry.code));
      EXPECT_NE(drill(*diameter).find("\r\n" + Numbered('T', entry.code) + "*\r\n"), std::string::npos);
    }
    EXPECT_EQ(table.rows.back(), (std::vector<std::string>{"other", "none", std::string(kNone), std::string(kNone)}));
    for (std::int64_t diameter = -2; diameter <= 40; ++diameter) {
      if (!listed.contains(diameter)) {
        EXPECT_EQ(drill(diameter).find("*\r\n"), std::string::npos) << diameter;
      }
    }
  }
  EXPECT_EQ(holeTables, 1);
}

TEST(GuideTables, HoleDiametersAreTheExampleToolsAsTheConverterDrillsThem) {
  for (const auto& [guide, tables] : Guides()) {
    SCOPED_TRACE(guide);
    CheckHoleTable(tables);
  }
}

// The entries the file headers and the Hole section use, with the example's lines.
void CheckHeaderEntries(const std::vector<MarkedTable>& tables) {
  const std::string configuration = ReadSource("examples/velmorta.cfg");
  std::map<std::string, std::vector<std::string>> lines;  // ">D" and so on: the lines in order
  std::istringstream in(configuration);
  for (std::string line; std::getline(in, line);) {
    if (line.size() > 2 && line[0] == '>' && std::string_view("DRT").find(line[1]) != std::string_view::npos) {
      lines[line.substr(0, 2)].push_back(Trimmed(line));
    }
  }
  const Settings example = ParseConfiguration(configuration);
  const std::map<std::string, const CodeList*> lists = {
      {">D", &example.LineApertureList}, {">R", &example.LandApertureList}, {">T", &example.ToolList}};
  using Entry = std::tuple<std::string, std::string, std::size_t>;  // list, pitch, entry
  const std::set<Entry> converter = {{">D", "1", kCopperHeaderEntryPitch1},
                                     {">D", "2", kCopperHeaderEntryPitch2},
                                     {">R", "both", kLandHeaderEntry},
                                     {">T", "both", kDrillHeaderEntry},
                                     {">T", "both", kHoleToolEntry}};
  std::set<Entry> guide;
  for (const MarkedTable& table : tables) {
    if (table.marker != "entry-table") continue;
    for (const auto& row : table.rows) {
      ASSERT_EQ(row.size(), 6u);
      SCOPED_TRACE(row[0]);
      const auto entry = static_cast<std::size_t>(Integer(row[3]).value_or(0));
      guide.emplace(row[1], row[2], entry);
      ASSERT_TRUE(lists.contains(row[1])) << row[1];
      ASSERT_GE(entry, 1u);
      ASSERT_LE(entry, lines[row[1]].size());
      EXPECT_EQ(row[4], '`' + lines[row[1]][entry - 1] + '`');
      EXPECT_EQ(row[5], Numbered(row[1] == ">T" ? 'T' : 'D', CodeOfEntry(*lists.at(row[1]), entry)));
    }
  }
  EXPECT_EQ(guide, converter);
}

TEST(GuideTables, HeaderEntriesAreTheConvertersWithTheExampleLines) {
  for (const auto& [guide, tables] : Guides()) {
    SCOPED_TRACE(guide);
    CheckHeaderEntries(tables);
  }
}

}  // namespace
}  // namespace velmorta
