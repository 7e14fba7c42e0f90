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

    {Text::ExportUsage,
     "usage: velmorta-export [--config PATH] [--timestamp] [--limits PATH] [--limit NAME=MM]...\n"
     "                       [--fail-on errors|warnings] [--no-check] [--no-kicad] [--lang ja|en] BASE\n"
     "Reads the seven files that velmorta wrote for the board BASE and writes, in the\n"
     "output directory, the set a board house builds from: BOARD-fab/ with RS-274X\n"
     "copper, solder mask, legend and profile, Excellon plated and non-plated drill\n"
     "files, a drill map, a job file, an aperture table, the board check's report\n"
     "(BOARD-check.txt and .csv) and an SVG preview, and BOARD-fab.zip to upload. The\n"
     "configuration is velmorta's (velmorta.cfg beside this program) unless --config\n"
     "names another; --timestamp dates the files.\n"
     "The board check measures the set against a board house's limits, reports each\n"
     "fault and marks it in the preview; it prints a summary. --limits reads the limits\n"
     "from a file, --limit sets one (track, pad, spacing, drill_min, drill_max,\n"
     "unplated_min, unplated_max, ring, copper_edge, hole_spacing, hole_edge, merge; in\n"
     "mm, after the file). --no-check leaves the check out.\n"
     "Beside the set it writes BOARD.kicad_pcb, the board for KiCad 6 or later: each\n"
     "part a footprint, tracks, vias, holes, the outline, nets from the copper's\n"
     "connections and the limits as its design rules; one saved since by KiCad is kept.\n"
     "--no-kicad leaves it out. --lang ja|en tells the messages in Japanese or English\n"
     "(also VELMORTA_LANG; otherwise the system's language). -h or --help prints this text.\n"
     "Exit status: 0 when the set is written; 1 when it is not (the reason is on\n"
     "standard error and the previous set is kept), or when standard output could not\n"
     "be written; 2 when the set is written but --fail-on errors (any error) or\n"
     "--fail-on warnings (any finding) trips on what the board check found.\n"},
    {Text::ExportErrorLine, "velmorta-export: {text}"},
    {Text::ExportWarningLine, "velmorta-export: warning: {text}"},
    {Text::Wrote, "wrote {file}"},
    {Text::FailOnErrors, "the board check found errors (--fail-on errors); the set is written all the same"},
    {Text::FailOnWarnings, "the board check found faults (--fail-on warnings); the set is written all the same"},
    {Text::FailOnNotDone, "the board check was not done (--fail-on {level}); the set is written all the same"},
    {Text::ExportOutOfMemory, "out of memory; nothing is changed: close other programs, then export again"},
    {Text::StdoutLostReason, "cannot write to standard output: {reason}; {consequence}"},
    {Text::StdoutLost, "cannot write to standard output; {consequence}"},
    {Text::NothingChanged, "nothing is changed"},
    {Text::ListLost, "the set is written, but the list of its files and the board check's summary are lost: free the device and run the export again"},
    {Text::OptionNeeds, "{option} needs {needs}"},
    {Text::OptionNeedsBeforeBoard, "{option} needs {needs} before the board ({board} is the board)"},
    {Text::NeedsPath, "a path"},
    {Text::NeedsLimit, "NAME=MM"},
    {Text::NeedsFailOn, "errors or warnings"},
    {Text::NeedsLanguage, "ja or en"},
    {Text::Verbatim, "{text}"},
    {Text::FailOnValue, "--fail-on takes errors or warnings, not {value}"},
    {Text::UnknownOption, "unknown option {option}"},
    {Text::OneBoard, "one board at a time: {first} and {second}"},
    {Text::NoBoard, "no board given"},
    {Text::FailOnNeedsCheck, "--fail-on needs the board check, which --no-check leaves out"},
    {Text::LimitNotNameMm, "--limit takes NAME=MM, not {setting}"},
    {Text::LimitOption, "--limit {setting}: {error}"},
    {Text::TheLimitsFile, "the limits file"},
    {Text::NotVerified, "there is no {base}.pad, so the converter's files could not be verified against it (only dated against the run log {base}_.vel); export them only if they are this board's"},
    {Text::CannotReadOutputFile, "cannot read output file {number} {file}: {reason}; run velmorta {base} again"},
    {Text::NotWhatVelmortaMakes, "{file} is not what velmorta makes of {pad} with {configuration} (byte {byte} differs): run velmorta {base} again"},
    {Text::CannotReadPad, "cannot read the pad file {file}: {reason}"},
    {Text::VelmortaStops, "velmorta stops on {file}: {reason}; correct that and run velmorta {base} again"},
    {Text::CannotReadRunLog, "cannot read the run log {file}: {reason} (convert the board with velmorta first)"},
    {Text::ConversionIncomplete, "{file}: the last conversion of {base} did not complete (its message is in the run log); convert it again"},
    {Text::ChangedAfterRunLog, "{file} changed after the run log {log}: it is not from the last conversion of {base} (another board converted since?); convert {base} again"},
    {Text::CannotReadNamed, "cannot read {what} {file}: {reason}"},
    {Text::CannotReadNamedNoReason, "cannot read {what} {file}"},
    {Text::CannotReadOutput, "cannot read output file {number} {file}: {reason}"},
    {Text::CannotRead, "cannot read {file}: {reason}"},
    {Text::CannotReadNoReason, "cannot read {file}"},
    {Text::ChangedAtOffset, "{file}: offset {offset}: {what}; the file changed after velmorta wrote it: convert the board again"},
    {Text::TrailerOfAnother, "the trailer of another kind of file (this one ends with \"{trailer}\")"},
    {Text::TextAfterTrailer, "text after the trailer"},
    {Text::NoApertureSelected, "{what} with no aperture selected (D0, or none yet)"},
    {Text::AStroke, "a stroke"},
    {Text::AFlash, "a flash"},
    {Text::HitWithNoTool, "a hit with no tool selected (T0, or none yet)"},
    {Text::NotADrillHit, "not a drill hit the converter writes"},
    {Text::HitWithoutM05, "a drill hit without M05"},
    {Text::NotAToolSelection, "not a tool selection the converter writes"},
    {Text::NotACommand, "not a command the converter writes"},
    {Text::NoCrLfAtEnd, "the last line does not end in CR LF"},
    {Text::TextAfterCommand, "text after the command, where CR LF should end the line"},
    {Text::NotACoordinateBlock, "not a coordinate block the converter writes"},
    {Text::BlockWithoutD, "a coordinate block without *D01*, *D02* or *D03*"},
    {Text::NotAnApertureSelection, "not an aperture selection the converter writes"},
    {Text::WithExcerpt, "{what}: \"{excerpt}\""},
    {Text::CoordinateTooLarge, "{axis} coordinate {value} mm does not fit the four integer digits of {format}"},
    {Text::NoTrailer, "{file}: does not end with its trailer \"{trailer}\": the conversion stopped before it finished (see the run log)"},
    {Text::CodeSizeUnknown, "{configuration}: {key} code {code} ({file} draws with it): no {key} line carries this code, so its size is unknown; add one, or convert the board again"},
    {Text::CodeSizeAmbiguous, "{configuration}: {key} code {code} ({file} draws with it): lines of different sizes ({sizes}) carry this code, so its size is ambiguous; give it one size"},
    {Text::LineSize, "line {line} {size} mm"},
    {Text::CodeSizeRange, "{configuration}: line {line}: the size of {key} code {code} ({file} draws with it) is not a positive number of millimetres up to 100; correct the line"},
    {Text::ToolSizeRange, "{configuration}: line {line}: the size of {key} code {code} ({file} draws with it) is not a positive number of millimetres up to 100 (>T sizes are in 0.1 mm); correct the line"},
    {Text::TooManyCodes, "too many {what} codes outside {lowest} to {highest} to number them all"},
    {Text::SettingTakes, "{configuration}: line {line}: \">E {name}\" takes {allowed}, not \"{value}\""},
    {Text::AllowedMillimetres, "millimetres from 0 to 10, at most three decimals"},
    {Text::OneOfTwo, "{a} or {b}"},
    {Text::OneOfThree, "{a}, {b} or {c}"},
    {Text::UnknownSetting, "{configuration}: line {line}: unknown export setting \">E {name}\" (first-side, single-sided-top, mask-expansion, sides)"},
    {Text::NoOutputFileNamed, "{configuration} names no output file {number}: add a \">F{number}\" line (the \">F\" lines name the seven files in order)"},
    {Text::CannotWriteSet, "cannot write {file}: {reason}; the previous set is kept: check that the output folder has room and may be written, then export again"},
    {Text::CannotWriteSetStep, "cannot write {file}: {step}: {reason}; the previous set is kept: check that the output folder has room and may be written, then export again"},
    {Text::BoardNameIsFolder, "the board name {base} ends in a directory separator"},
    {Text::SetWouldReplace, "{folder} is {what} {file}, which the export would replace: {remedy}"},
    {Text::SetHolds, "{what} {file} lies in {folder}, the set's folder, which the export replaces: {remedy}"},
    {Text::CannotReadFolder, "cannot read the folder {file}: {reason}"},
    {Text::OutputFileNumber, "output file {number}"},
    {Text::RenameOutputFile, "give output file {number} another name (its \">F{number}\" line in {configuration}), then convert and export again"},
    {Text::MoveBoardElsewhere, "choose another output folder (the \">g\" line in {configuration}) or keep the board elsewhere, then convert and export again"},
    {Text::CannotLock, "cannot lock {file}: {reason}; check that the output folder may be written"},
    {Text::AnotherExport, "another export of this board is running (it holds {file}; waited {seconds} s): let it finish, then export again"},
    {Text::CannotReadJournal, "cannot read {file}, left by an earlier export: {reason}"},
    {Text::NotOurJournal, "{file} is not the journal velmorta-export writes beside the set; move it away, then export again"},
    {Text::CannotReplaceSet, "cannot replace the previous set {folder}: {file} cannot be removed ({reason}); lift its protection or move the previous set away, then export again"},
    {Text::LeftByEarlier, "{failure} (left by an earlier export); remove it, then export again"},
    {Text::CannotFinishEarlier, "cannot finish what an earlier export left ({file}): {failure}; make that possible, then export again"},
    {Text::CannotStage, "{failure}; check that the output folder has room and may be written"},
    {Text::PreviousSetKept, "{failure}; the previous set is kept"},
    {Text::PutBackFailed, "{failure}; putting the previous set back failed too ({second}): the next export puts it back"},
    {Text::CannotWriteStep, "cannot write {file}: {step}: {reason}"},
    {Text::CannotRenameKicad, "the set is written, but {file} is not: cannot rename {staged} to it: {reason}"},
    {Text::ZlibStart, "cannot write {file}: zlib could not start"},
    {Text::ZlibFailed, "cannot write {file}: zlib failed"},
    {Text::ZipMemberTooLarge, "cannot write {file}: {member} is too large for a ZIP archive (4 GB)"},
    {Text::ZipTooLarge, "cannot write {file}: the archive is too large (4 GB)"},
    {Text::NoPadFile, "there is no {base}.pad"},
    {Text::PreviewTopView, "Top, seen from above"},
    {Text::PreviewBottomView, "Bottom, seen from below"},
    {Text::PreviewCopper, "{side} copper"},
    {Text::PreviewMask, "{side} solder mask openings"},
    {Text::PreviewJumpers, "{side} legend: wire jumpers"},
    {Text::PreviewProfile, "board profile"},
    {Text::PreviewPlated, "plated holes"},
    {Text::PreviewUnplated, "non-plated holes"},
    {Text::PreviewDrillMap, "drill map"},
    {Text::MarkTitle, "{kind} ({severity}){measure} {where}"},
    {Text::MarkAtPad, "at pad {x}, {y}"},
    {Text::MarkAt, "at {x}, {y} mm"},
    {Text::CheckNotDone, "the board check: {reason} (--no-check exports without it)"},
};

}  // namespace

std::span<const Entry> EnglishEntries() { return kEnglish; }

}  // namespace velmorta
