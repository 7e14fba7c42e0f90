#include "export/model/fab_settings.hpp"

#include <string>

#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Millimetres with at most three decimals, 0 to 10, as 0.001 mm.
bool ParseMillimetres(std::string_view text, std::int64_t& micrometres) {
  std::int64_t whole = 0, fraction = 0;
  std::size_t i = 0, digits = 0, decimals = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 3; ++i, ++digits) {
    whole = whole * 10 + (text[i] - '0');
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9' && decimals < 3; ++i, ++decimals) {
      fraction = fraction * 10 + (text[i] - '0');
    }
  }
  if (i != text.size() || digits + decimals == 0) return false;
  for (; decimals < 3; ++decimals) fraction *= 10;
  micrometres = whole * 1000 + fraction;
  return micrometres <= 10'000;
}

}  // namespace

FabSettings ParseFabSettings(std::string_view configuration, std::string_view fileName) {
  FabSettings settings;
  std::size_t number = 0;
  for (std::size_t start = 0; start < configuration.size();) {
    std::size_t end = configuration.find('\n', start);
    if (end == std::string_view::npos) end = configuration.size();
    const std::string_view line = configuration.substr(start, end - start);
    start = end + 1;
    ++number;
    if (line.size() < 2 || line[0] != '>' || line[1] != 'E') continue;
    const std::string_view rest = Trim(line.substr(2));
    const std::size_t space = rest.find_first_of(" \t");
    const std::string_view name = rest.substr(0, space);
    const std::string_view value = space == std::string_view::npos ? std::string_view() : Trim(rest.substr(space));
    auto fail = [&](const std::string& what) {
      throw ExportError(std::string(fileName) + ": line " + std::to_string(number) + ": " + what);
    };
    auto bad = [&](std::string_view allowed) {
      fail("\">E " + std::string(name) + "\" takes " + std::string(allowed) + ", not \"" + std::string(value) +
           "\"");
    };
    if (name == "first-side") {
      if (value == "bottom") {
        settings.firstSide = Side::Bottom;
      } else if (value == "top") {
        settings.firstSide = Side::Top;
      } else {
        bad("bottom or top");
      }
    } else if (name == "single-sided-top") {
      if (value == "legend") {
        settings.singleSidedTop = SingleSidedTop::Legend;
      } else if (value == "copper") {
        settings.singleSidedTop = SingleSidedTop::Copper;
      } else if (value == "omit") {
        settings.singleSidedTop = SingleSidedTop::Omit;
      } else {
        bad("legend, copper or omit");
      }
    } else if (name == "mask-expansion") {
      if (!ParseMillimetres(value, settings.maskExpansion)) bad("millimetres from 0 to 10, at most three decimals");
    } else if (name == "sides") {
      if (value == "auto") {
        settings.sides = SidesRule::Auto;
      } else if (value == "1") {
        settings.sides = SidesRule::One;
      } else if (value == "2") {
        settings.sides = SidesRule::Two;
      } else {
        bad("auto, 1 or 2");
      }
    } else {
      fail("unknown export setting \">E " + std::string(name) +
           "\" (first-side, single-sided-top, mask-expansion, sides)");
    }
  }
  return settings;
}

}  // namespace velmorta::fab
