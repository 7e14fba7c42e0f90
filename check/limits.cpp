#include "check/limits.hpp"

#include <array>

#include "base/diagnostics.hpp"
#include "base/millimetres.hpp"

namespace velmorta::check {
namespace {

constexpr std::array kNames = {
    LimitName{"track", &Limits::track, Text::LimitTrack},
    LimitName{"pad", &Limits::pad, Text::LimitPad},
    LimitName{"spacing", &Limits::spacing, Text::LimitSpacing},
    LimitName{"drill_min", &Limits::drillMin, Text::LimitDrillMin},
    LimitName{"drill_max", &Limits::drillMax, Text::LimitDrillMax},
    LimitName{"unplated_min", &Limits::unplatedMin, Text::LimitUnplatedMin},
    LimitName{"unplated_max", &Limits::unplatedMax, Text::LimitUnplatedMax},
    LimitName{"ring", &Limits::ring, Text::LimitRing},
    LimitName{"copper_edge", &Limits::copperEdge, Text::LimitCopperEdge},
    LimitName{"hole_spacing", &Limits::holeSpacing, Text::LimitHoleSpacing},
    LimitName{"hole_edge", &Limits::holeEdge, Text::LimitHoleEdge},
    LimitName{"merge", &Limits::merge, Text::LimitMerge},
};

constexpr bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

// "0.127", "2", "1.5mm" -> micrometres; an error text when it is not a size.
std::int32_t ParseSize(std::string_view value, std::string& error, Language language) {
  const auto refuse = [&](Text key) {
    error = Say(language, key, {{"value", QuotedName(language, value)}});
    return 0;
  };
  const ParsedMillimetres size = ParseMillimetres(value, kLargestLimit);
  switch (size.fault) {
    case MillimetresFault::None: return static_cast<std::int32_t>(size.micrometres);
    case MillimetresFault::NotASize: return refuse(Text::LimitNotASize);
    case MillimetresFault::TooFine: return refuse(Text::LimitTooFine);
    case MillimetresFault::TooLarge: return refuse(Text::LimitTooLarge);
  }
  return 0;
}

const LimitName* Find(std::string_view name) {
  for (const LimitName& n : kNames) {
    if (n.name == name) return &n;
  }
  return nullptr;
}

// Sets the limit or returns why not.
std::string TrySet(Limits& limits, std::string_view name, std::string_view value, Language language) {
  const LimitName* found = Find(name);
  if (found == nullptr) return Say(language, Text::UnknownLimit, {{"name", QuotedName(language, name)}});
  std::string error;
  const std::int32_t size = ParseSize(value, error, language);
  if (error.empty()) limits.*(found->member) = size;
  return error;
}

}  // namespace

std::span<const LimitName> LimitNames() { return kNames; }

void SetLimit(Limits& limits, std::string_view name, std::string_view value, Language language) {
  if (const std::string error = TrySet(limits, name, value, language); !error.empty()) throw LimitsError(error);
}

Limits ParseLimits(std::string_view text, std::string_view origin, Limits limits, Language language) {
  // An editor that saves in UTF-8 may put a byte order mark before the first line.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    line = Trim(line);
    if (line.empty()) continue;
    std::size_t nameEnd = 0;
    while (nameEnd < line.size() && !IsSpace(line[nameEnd]) && line[nameEnd] != '=') ++nameEnd;
    const std::string_view name = line.substr(0, nameEnd);
    std::string_view value = Trim(line.substr(nameEnd));
    if (!value.empty() && value.front() == '=') value = Trim(value.substr(1));
    if (const std::string error = TrySet(limits, name, value, language); !error.empty()) {
      throw LimitsError(Say(language, Text::LimitsFileLine,
                            {{"file", NameIn(language, origin)}, {"line", std::to_string(lineNumber)}, {"error", error}}));
    }
  }
  return limits;
}

std::string Millimetres(std::int64_t micrometres) {
  const bool negative = micrometres < 0;
  // 0 - (unsigned)v is |v| for every value, the most negative one included.
  const std::uint64_t m = negative ? std::uint64_t{0} - static_cast<std::uint64_t>(micrometres)
                                   : static_cast<std::uint64_t>(micrometres);
  const std::uint64_t fraction = m % 1000;
  std::string text = negative ? "-" : "";
  text += std::to_string(m / 1000);
  text += fraction < 10 ? ".00" : fraction < 100 ? ".0" : ".";
  text += std::to_string(fraction);
  return text;
}

std::string LimitsText(const Limits& limits) {
  std::string text;
  for (const LimitName& n : kNames) {
    text += std::string(n.name) + " " + Millimetres(limits.*(n.member)) + "   # " + Say(Language::English, n.meaning) + "\n";
  }
  return text;
}

}  // namespace velmorta::check
