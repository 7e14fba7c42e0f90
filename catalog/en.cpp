// The English texts. Placeholders in braces are filled by the program; keep each one.
#include "catalog/catalog.hpp"

namespace velmorta {
namespace {

constexpr Entry kEnglish[] = {
    {Text::ConverterUsage,
     "Usage: velmorta BASE\n"
     "Converts the board BASE.pad into six Gerber files and a drill file, and writes the run\n"
     "log BASE_.vel. The settings, the output file names and their directory come from the\n"
     "configuration file beside the program: its name with the extension cfg.\n"
     "\n"
     "  -h, --help   print this text and exit\n"
     "  --version    print the version and exit\n"
     "  --lang ja|en before the other arguments: messages in Japanese or English (also\n"
     "               VELMORTA_LANG; otherwise the system's language)\n"
     "\n"
     "Exit status 0 after a successful run, 1 after any error. The reason of an error and\n"
     "warnings about the board go to standard error.\n"},
    {Text::ErrorLine, "velmorta: {text}"},
    {Text::WarningLine, "velmorta: warning: {file}: {text}"},
    {Text::LangValue, "--lang takes ja or en, not {value}"},

    {Text::CannotOpen, "cannot open {file}: {reason}"},
    {Text::CannotCreate, "cannot create {file}: {reason}"},
    {Text::CannotWrite, "cannot write {file}: {reason}"},
    {Text::CannotEmpty, "cannot empty {file}: {reason}"},
    {Text::ReadFailed, "{file}: read failed: {reason}"},
    {Text::StepFailed, "{file}: {step} failed: {reason}"},
    {Text::StepWrite, "write"},
    {Text::StepFlush, "flush"},
    {Text::StepClose, "close"},
    {Text::SameFileNothingWritten, "{file} is the same file as {other}; nothing is written"},
    {Text::NotEnoughMemory, "not enough memory to convert {file}"},
    {Text::NoOutputName, "{file}: no >F line names output file {number}"},
    {Text::OutputFileNumbered, "output file {number} {file}"},
    {Text::OutputSameAsInput, "{output} is the same file as {what} {file}"},
    {Text::OutputSameAsOutput, "{output} is the same file as {other}"},
    {Text::ThePadFile, "the pad file"},
    {Text::TheConfigurationFile, "the configuration file"},
    {Text::TheRunLog, "the run log"},
    {Text::NoLineWidthCode, "{file}: the line width default (>l) of the board's pitch has no >D line with a code"},
    {Text::NoFixedLandCode, "{file}: the fixed land default (>r) of the board's pitch has no >R line with a code"},
    {Text::NoAuxLandLine, "{file}: the auxiliary land size (>h) of the board's pitch has no >D line"},
    {Text::NoDrillCode, "{file}: the default drill (>d) or a hole's diameter has no >T line with a code"},
    {Text::NoSizeCode, "{file}: a size the board selects has no >D or >R line with a code"},

    {Text::UnknownKey, "line {line} {content}: unknown key {key}; the line is skipped"},
    {Text::NameSavedAsUtf8,
     "line {line}: the name {name} is saved in UTF-8, which this system does not read; the files get "
     "garbled names: save the configuration file as Shift-JIS (ANSI)"},
    {Text::SectionAtEnd, "\"***\" at the end of the file opens no section"},
    {Text::NoPitch,
     "no \"Pitch\" of 1 or 2: output files 1 to 4 get no header, and no width or land code selects an aperture"},
    {Text::NotANumber, "{section} record {record} {token}: {field} is not a number; read as 0"},
    {Text::RecordEndsTable, "{section} record {record} {token} begins with 0 and so ends the table; {ignored}"},
    {Text::HoleRecordEndsTable,
     "{section} record {record} {token} ends the table: every hole's tool is the code of >T entry 18, which is 0 "
     "here; {ignored}"},
    {Text::RecordIgnored, "it is ignored"},
    {Text::RecordsIgnored, "{count} records from it on are ignored"},
    {Text::UnknownSectionName, "unknown section name {name} (section {section} of the file): {skipped}"},
    {Text::SectionHoldsNothing, "it holds nothing"},
    {Text::SectionTokenSkipped, "its one token is skipped"},
    {Text::SectionTokensSkipped, "its {count} tokens are skipped"},
    {Text::NoLandAperture,
     "{section} record {record} {at}: {field} code {code} selects no land aperture at pitch {pitch}; the "
     "aperture in force stays"},
    {Text::NoLineAperture,
     "{section} record {record} {from}-{to}: width {width} selects no line aperture at pitch {pitch}; the "
     "aperture in force stays"},
    {Text::NoToolOfDiameter,
     "Hole record {record} {at}: diameter {diameter} matches no >T line of that size; drilled with tool {tool}, "
     "the tool in force"},
    {Text::MoreUnknownSections, "{count} more unknown section names"},
    {Text::MoreWithoutPitch, "{count} more pad files without a pitch"},
    {Text::MoreEndedTables, "{count} more tables ended by a record whose first field is 0"},
    {Text::MoreNotANumber, "{count} more records with a field that is not a number"},
    {Text::MoreNoSizeClass, "{count} more widths or land codes that select no aperture"},
    {Text::MoreUnknownHoleSizes, "{count} more hole diameters without a >T entry"},
    {Text::MoreUnknownKeys, "{count} more lines with an unknown key"},
    {Text::MoreNamesSavedAsUtf8, "{count} more names saved in UTF-8"},

    {Text::ReportHeading, "Board check: {verdict}."},
    {Text::ReportNoFrame, "Positions in mm only, not in the pad file's units: {why}."},
    {Text::ReportLimits, "Limits (mm):"},
    {Text::ReportFindings, "Findings (positions in mm; pad: in the pad file's units, 0.01 inch):"},
    {Text::ReportAt, "at {x}, {y}"},
    {Text::ReportPad, "pad {x}, {y}"},
    {Text::ReportFoundTimes, "(found {count} times here)"},
    {Text::ReportMore, "... and {count} more, not listed"},
    {Text::ReportKinds, "Kinds:"},
    {Text::SummaryHeading, "board check: {verdict}"},
    {Text::VerdictStopped, "not done, the board was not checked: {why}"},
    {Text::VerdictPassed, "passed"},
    {Text::VerdictCounts, "{errors}, {warnings}"},
    {Text::ErrorsOne, "1 error"},
    {Text::ErrorsMany, "{count} errors"},
    {Text::WarningsOne, "1 warning"},
    {Text::WarningsMany, "{count} warnings"},
    {Text::SeverityError, "error"},
    {Text::SeverityWarning, "warning"},
    {Text::LayerBottom, "bottom"},
    {Text::LayerTop, "top"},
    {Text::LayerDrill, "drill"},
    {Text::SourceFileNumbered, "file {number}"},
    {Text::CheckCrowded, "its features crowd together too much to check in a time in proportion to the board"},
    {Text::CheckTooManyFindings, "it has more than {count} findings and near pairs"},
    {Text::TooManyBottomFeatures, "too many bottom features to check: {count}"},
    {Text::TooManyTopFeatures, "too many top features to check: {count}"},
    {Text::TooManyWireLinks, "too many wire links to check: {count}"},
    {Text::TooManyHoles, "too many holes to check: {count}"},
    {Text::TooManyOutlineSegments, "too many outline segments to check: {count}"},

    {Text::KindTrackWidth, "a track (stroke) narrower than the limit"},
    {Text::KindPadSize, "a land smaller than the limit"},
    {Text::KindDrillMin, "a plated hole smaller than the smallest drill"},
    {Text::KindDrillMax, "a plated hole larger than the largest drill"},
    {Text::KindUnplatedMin, "an unplated hole smaller than the smallest drill"},
    {Text::KindUnplatedMax, "an unplated hole larger than the largest drill"},
    {Text::KindRingBroken, "the drill reaches or passes the edge of its land (as large as the land, or off its centre)"},
    {Text::KindRingThin, "an annular ring narrower than the limit"},
    {Text::KindNoLand, "a plated hole with no land on this side"},
    {Text::KindUndrilledLand, "a land with no hole in it"},
    {Text::KindLandsTouch, "lands of two holes touch or overlap (negative: by how much), so their pins are connected"},
    {Text::KindSpacing, "copper of two unconnected groups closer than the limit"},
    {Text::KindCopperEdge, "copper closer to the board edge than the limit (negative: across it)"},
    {Text::KindHoleSpacing, "holes closer than the limit, edge to edge (negative: overlapping)"},
    {Text::KindDuplicateHit, "two hits of one size at one place"},
    {Text::KindHoleEdge, "a hole closer to the board edge than the limit (negative: across it)"},

    {Text::LimitTrack, "narrowest track (stroke aperture)"},
    {Text::LimitPad, "smallest land"},
    {Text::LimitSpacing, "copper to copper"},
    {Text::LimitDrillMin, "smallest plated drill"},
    {Text::LimitDrillMax, "largest plated drill"},
    {Text::LimitUnplatedMin, "smallest unplated drill"},
    {Text::LimitUnplatedMax, "largest unplated drill"},
    {Text::LimitRing, "annular ring"},
    {Text::LimitCopperEdge, "copper to board edge"},
    {Text::LimitHoleSpacing, "hole to hole, edge to edge"},
    {Text::LimitHoleEdge, "hole to board edge"},
    {Text::LimitMerge, "findings of one fault this near are one"},
    {Text::UnknownLimit, "unknown limit {name}"},
    {Text::LimitTooLarge, "larger than 1000 mm: {value}"},
    {Text::LimitTooFine, "finer than 0.001 mm: {value}"},
    {Text::LimitNotASize, "not a size in millimetres: {value}"},
    {Text::LimitsFileLine, "{file}:{line}: {error}"},

    {Text::ProgressReading, "velmorta-export: reading the converter's files..."},
    {Text::ProgressLayer, "velmorta-export: writing layer {number} of {count}..."},
    {Text::ProgressChecking, "velmorta-export: checking the board..."},
    {Text::ProgressPreview, "velmorta-export: drawing the preview..."},
    {Text::ProgressArchive, "velmorta-export: finishing the archive..."},
    {Text::ProgressKicad, "velmorta-export: writing the KiCad board..."},
};

}  // namespace

std::span<const Entry> EnglishEntries() { return kEnglish; }

}  // namespace velmorta
