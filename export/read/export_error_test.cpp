#include "export/read/export_error.hpp"

#include <gtest/gtest.h>

namespace velmorta::fab {
namespace {

ExportError Thrown(Text key, std::initializer_list<Part> parts) {
  try {
    throw ExportError(key, parts);
  } catch (const ExportError& error) {
    return error;  // told after the parts' sources are gone
  }
}

// One failure, told in either language where it is caught: words of the catalog and
// nested texts in the language asked for, names as they are, English in what().
TEST(ExportError, ToldInTheLanguageAskedWithItsPartsInTheSameLanguage) {
  const struct {
    ExportError error;
    const char* english;
    const char* japanese;
  } kCases[] = {
      {Thrown(Text::CannotReadNamed, {{"what", Text::TheConfigurationFile}, {"file", "a.cfg"}, {"reason", "gone"}}),
       "cannot read the configuration file a.cfg: gone", "設定ファイル a.cfg を読めません: gone"},
      {Thrown(Text::PreviousSetKept,
              {{"failure", Telling(Text::CannotStep, {{"step", Telling(Text::StepRemove, {{"file", "b-fab"}})},
                                                      {"reason", "busy"}})}}),
       "cannot remove b-fab: busy; the previous set is kept",
       "b-fab を削除できません: busy。前のセットはそのまま残っています"},
      {Thrown(Text::LimitOption, {{"setting", "track=x"}, {"error", AsIs("mm 単位の大きさではありません: x")}}),
       "--limit track=x: mm 単位の大きさではありません: x", "--limit track=x: mm 単位の大きさではありません: x"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(std::string(c.error.what()), c.english);
    EXPECT_EQ(c.error.In(Language::English), c.english);
    EXPECT_EQ(c.error.In(Language::Japanese), c.japanese);
  }
}

}  // namespace
}  // namespace velmorta::fab
