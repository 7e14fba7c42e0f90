// The manual pages, English and Japanese, against the programs: every option that --help
// names is in the page's synopsis or options, every option listed there is in --help,
// and the page carries the program's version.

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run.hpp"
#include "export/export_run.hpp"
#include "test_support/test_support.hpp"

namespace velmorta {
namespace {

// "-h" or "--long-name" where a word starts; "non-plated" and "RS-274X" are no options.
std::set<std::string> OptionsIn(const std::string& text) {
  static const std::regex kOption(R"((^|[\s\[(|,"])(--?[A-Za-z][A-Za-z0-9-]*))");
  std::set<std::string> options;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), kOption); it != std::sregex_iterator(); ++it) {
    options.insert((*it)[2]);
  }
  return options;
}

// The text of the SYNOPSIS and OPTIONS sections of a page, without macros and font
// changes; and the page's title line.
struct ManPage {
  std::string title;
  std::string synopsisAndOptions;
};

ManPage ReadManPage(const std::string& relative) {
  const std::string source = testing::ReadFile(std::string(VELMORTA_SOURCE_DIR) + "/" + relative);
  EXPECT_FALSE(source.empty()) << relative;
  ManPage page;
  bool inside = false;
  std::istringstream in(source);
  for (std::string line; std::getline(in, line);) {
    if (line.ends_with('\r')) line.pop_back();  // a checkout with CR LF line ends
    if (line.starts_with(".TH ")) page.title = line;
    if (line.starts_with(".SH")) {
      inside = line == ".SH SYNOPSIS" || line == ".SH OPTIONS" || line == ".SH 書式" || line == ".SH オプション";
      continue;
    }
    if (!inside || line.starts_with(".\\\"")) continue;
    if (line.starts_with('.')) line = line.find(' ') == std::string::npos ? "" : line.substr(line.find(' '));
    line = std::regex_replace(line, std::regex(R"(\\f[BIRP])"), "");
    line = std::regex_replace(line, std::regex(R"(\\-)"), "-");
    page.synopsisAndOptions += line + "\n";
  }
  return page;
}

TEST(ManualPages, ListTheOptionsOfHelpAndTheVersion) {
  struct Program {
    const char* name;
    const char* page;  // under docs/ and docs/ja/
    std::function<int(std::span<const char* const>, std::ostream&, std::ostream&)> run;
  };
  const Program kPrograms[] = {
      {"velmorta", "velmorta.1",
       [](std::span<const char* const> args, std::ostream& out, std::ostream& err) {
         return RunDriver(args, "velmorta", out, err);
       }},
      {"velmorta-export", "velmorta-export.1",
       [](std::span<const char* const> args, std::ostream& out, std::ostream& err) {
         return fab::RunExport(args, "velmorta-export", out, err);
       }},
  };
  for (const Program& program : kPrograms) {
    SCOPED_TRACE(program.name);
    std::ostringstream help, errors;
    const std::vector<const char*> args = {program.name, "--help"};
    ASSERT_EQ(program.run(args, help, errors), 0) << errors.str();
    const std::set<std::string> inHelp = OptionsIn(help.str());
    EXPECT_TRUE(inHelp.contains("--help")) << help.str();
    for (const std::string folder : {"docs/", "docs/ja/"}) {
      SCOPED_TRACE(folder + program.page);
      const ManPage page = ReadManPage(folder + program.page);
      EXPECT_EQ(OptionsIn(page.synopsisAndOptions), inHelp) << "--help:\n" << help.str() << "\npage:\n"
                                                           << page.synopsisAndOptions;
      EXPECT_NE(page.title.find("\"velmorta " VELMORTA_VERSION "\""), std::string::npos) << page.title;
    }
  }
}

}  // namespace
}  // namespace velmorta
