#include "export/model/fab_settings.hpp"

#include <string>

#include "base/millimetres.hpp"
#include "config/config_reader.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

FabSettings ParseFabSettings(std::span<const NumberedLine> lines, std::string_view fileName) {
  FabSettings settings;
  for (const NumberedLine& line : lines) {
    const std::string_view text = line.text;
    const std::string_view rest = Trim(text.substr(text.size() < 2 ? text.size() : 2));  // after ">E"
    const std::size_t space = rest.find_first_of(" \t");
    const std::string_view name = rest.substr(0, space);
    const std::string_view value = space == std::string_view::npos ? std::string_view() : Trim(rest.substr(space));
    const Part configuration("configuration", std::string(fileName)), number("line", std::to_string(line.number)),
        named("name", std::string(name));
    auto bad = [&](Part allowed) {
      throw ExportError(Text::SettingTakes,
                        {configuration, number, named, {"allowed", allowed}, {"value", std::string(value)}});
    };
    if (name == "first-side") {
      if (value == "bottom") {
        settings.firstSide = Side::Bottom;
      } else if (value == "top") {
        settings.firstSide = Side::Top;
      } else {
        bad({"allowed", Telling(Text::OneOfTwo, {{"a", "bottom"}, {"b", "top"}})});
      }
    } else if (name == "single-sided-top") {
      if (value == "legend") {
        settings.singleSidedTop = SingleSidedTop::Legend;
      } else if (value == "copper") {
        settings.singleSidedTop = SingleSidedTop::Copper;
      } else if (value == "omit") {
        settings.singleSidedTop = SingleSidedTop::Omit;
      } else {
        bad({"allowed", Telling(Text::OneOfThree, {{"a", "legend"}, {"b", "copper"}, {"c", "omit"}})});
      }
    } else if (name == "mask-expansion") {
      const ParsedMillimetres expansion = ParseMillimetres(value, 10'000);
      if (expansion.fault != MillimetresFault::None) bad({"allowed", Text::AllowedMillimetres});
      settings.maskExpansion = expansion.micrometres;
    } else if (name == "sides") {
      if (value == "auto") {
        settings.sides = SidesRule::Auto;
      } else if (value == "1") {
        settings.sides = SidesRule::One;
      } else if (value == "2") {
        settings.sides = SidesRule::Two;
      } else {
        bad({"allowed", Telling(Text::OneOfThree, {{"a", "auto"}, {"b", "1"}, {"c", "2"}})});
      }
    } else {
      throw ExportError(Text::UnknownSetting, {configuration, number, named});
    }
  }
  return settings;
}

FabSettings ParseFabSettings(std::string_view configuration, std::string_view fileName) {
  return ParseFabSettings(ParseConfiguration(configuration).ExportLines, fileName);
}

}  // namespace velmorta::fab
