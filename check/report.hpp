#pragma once
// What the user reads: a report beside the fab set (text or CSV) and a console summary,
// in the language asked for (the CSV's columns stay the same words for every reader).
// Positions are in millimetres in the Gerber frame and, when the board's pad frame is
// known, in the pad file's own units (0.01 inch, y upward), the numbers the user typed.

#include <array>
#include <string>
#include <string_view>

#include "check/board_model.hpp"
#include "check/findings.hpp"
#include "check/limits.hpp"

namespace velmorta::check {

// Names of the converter's files 1 to 7 (index 0 is unused), for the origins; an empty
// name is written "file N".
using FileNames = std::array<std::string, 8>;

// Faults the reports and the preview list, in report order; the counts take in every
// one. Beyond this many a list helps nobody, and would take longer than the check.
inline constexpr std::size_t kMostListed = 10000;

// The report files' text, UTF-8 after a byte order mark. Without the board's pad frame
// `noFrame` says why, once, after the verdict.
std::string ReportText(const CheckResult& result, const Limits& limits, const FileNames& names = {},
                       std::string_view noFrame = {}, Language language = Language::English);
std::string ReportCsv(const CheckResult& result, const FileNames& names = {});
// A few lines for the console (UTF-8, no mark): the verdict, then the count of each kind found.
std::string Summary(const CheckResult& result, Language language = Language::English);

// A pad-file coordinate (0.01 inch) of a Gerber-frame position, to two decimals.
double PadX(const PadFrame& frame, std::int32_t x);
double PadY(const PadFrame& frame, std::int32_t y);

// How the report and the preview's marks write a finding's numbers: millimetres to three
// decimals ("12.345"), pad-file units to two, and a measure against its limit
// ("0.100 < 0.127", in mm) for the kinds that measure, empty for the others.
std::string MmText(double micrometres);
std::string PadText(double padUnits);
std::string MeasureText(const Finding& finding);

}  // namespace velmorta::check
