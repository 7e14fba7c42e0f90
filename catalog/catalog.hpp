#pragma once
// Every text the programs show a person, in English and Japanese, each under one key.
// A text holds named placeholders ("{file}", "{line}") that the caller fills. The
// wording lives in en.cpp and ja.cpp, one entry a key: a translator edits only those.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace velmorta {

enum class Language : std::uint8_t { English, Japanese };

enum class Text : std::uint16_t {
  // The converter: --help, and how standard error frames its lines.
  ConverterUsage,
  ErrorLine,
  WarningLine,
  LangValue,
  // Reasons of a fatal stop.
  CannotOpen,
  CannotCreate,
  CannotWrite,
  CannotEmpty,
  ReadFailed,
  StepFailed,
  StepWrite,
  StepFlush,
  StepClose,
  SameFileNothingWritten,
  NotEnoughMemory,
  NoOutputName,
  OutputFileNumbered,
  OutputSameAsInput,
  OutputSameAsOutput,
  ThePadFile,
  TheConfigurationFile,
  TheRunLog,
  NoLineWidthCode,
  NoFixedLandCode,
  NoAuxLandLine,
  NoDrillCode,
  NoSizeCode,
  // Warnings, and the counts of those not shown.
  UnknownKey,
  NameSavedAsUtf8,
  SectionAtEnd,
  NoPitch,
  NotANumber,
  RecordEndsTable,
  HoleRecordEndsTable,
  RecordIgnored,
  RecordsIgnored,
  UnknownSectionName,
  SectionHoldsNothing,
  SectionTokenSkipped,
  SectionTokensSkipped,
  NoLandAperture,
  NoLineAperture,
  NoToolOfDiameter,
  MoreUnknownSections,
  MoreWithoutPitch,
  MoreEndedTables,
  MoreNotANumber,
  MoreNoSizeClass,
  MoreUnknownHoleSizes,
  MoreUnknownKeys,
  MoreNamesSavedAsUtf8,
  // The board check: its report and summary.
  ReportHeading,
  ReportNoFrame,
  ReportLimits,
  ReportFindings,
  ReportAt,
  ReportPad,
  ReportFoundTimes,
  ReportMore,
  ReportKinds,
  SummaryHeading,
  VerdictStopped,
  VerdictPassed,
  VerdictCounts,
  ErrorsOne,
  ErrorsMany,
  WarningsOne,
  WarningsMany,
  SeverityError,
  SeverityWarning,
  LayerBottom,
  LayerTop,
  LayerDrill,
  SourceFileNumbered,
  CheckCrowded,
  CheckTooManyFindings,
  TooManyBottomFeatures,
  TooManyTopFeatures,
  TooManyWireLinks,
  TooManyHoles,
  TooManyOutlineSegments,
  // The kinds of finding.
  KindTrackWidth,
  KindPadSize,
  KindDrillMin,
  KindDrillMax,
  KindUnplatedMin,
  KindUnplatedMax,
  KindRingBroken,
  KindRingThin,
  KindNoLand,
  KindUndrilledLand,
  KindLandsTouch,
  KindSpacing,
  KindCopperEdge,
  KindHoleSpacing,
  KindDuplicateHit,
  KindHoleEdge,
  // The limits and their file.
  LimitTrack,
  LimitPad,
  LimitSpacing,
  LimitDrillMin,
  LimitDrillMax,
  LimitUnplatedMin,
  LimitUnplatedMax,
  LimitRing,
  LimitCopperEdge,
  LimitHoleSpacing,
  LimitHoleEdge,
  LimitMerge,
  UnknownLimit,
  LimitTooLarge,
  LimitTooFine,
  LimitNotASize,
  LimitsFileLine,
  // velmorta-export: --help, its lines, its failures and their remedies.
  ExportUsage,
  ExportErrorLine,
  ExportWarningLine,
  Wrote,
  FailOnErrors,
  FailOnWarnings,
  FailOnNotDone,
  ExportOutOfMemory,
  StdoutLostReason,
  StdoutLost,
  NothingChanged,
  ListLost,
  OptionNeeds,
  OptionNeedsBeforeBoard,
  NeedsPath,
  NeedsLimit,
  NeedsFailOn,
  NeedsLanguage,
  Verbatim,
  FailOnValue,
  UnknownOption,
  OneBoard,
  NoBoard,
  FailOnNeedsCheck,
  LimitNotNameMm,
  LimitOption,
  TheLimitsFile,
  NotVerified,
  CannotReadOutputFile,
  NotWhatVelmortaMakes,
  CannotReadPad,
  VelmortaStops,
  CannotReadRunLog,
  ConversionIncomplete,
  ChangedAfterRunLog,
  CannotReadNamed,
  CannotReadNamedNoReason,
  CannotReadOutput,
  CannotRead,
  CannotReadNoReason,
  ChangedAtOffset,
  NoTrailer,
  CodeSizeUnknown,
  CodeSizeAmbiguous,
  LineSize,
  CodeSizeRange,
  ToolSizeRange,
  TooManyCodes,
  SettingTakes,
  AllowedMillimetres,
  OneOfTwo,
  OneOfThree,
  UnknownSetting,
  NoOutputFileNamed,
  CannotWriteSet,
  CannotWriteSetStep,
  BoardNameIsFolder,
  SetWouldReplace,
  SetHolds,
  CannotReadFolder,
  OutputFileNumber,
  RenameOutputFile,
  MoveBoardElsewhere,
  CannotLock,
  AnotherExport,
  CannotReadJournal,
  NotOurJournal,
  CannotReplaceSet,
  LeftByEarlier,
  CannotFinishEarlier,
  CannotStage,
  PreviousSetKept,
  PutBackFailed,
  CannotWriteStep,
  CannotRenameKicad,
  ZlibStart,
  ZlibFailed,
  ZipMemberTooLarge,
  ZipTooLarge,
  NoPadFile,
  CheckNotDone,
  // The preview's labels.
  PreviewTopView,
  PreviewBottomView,
  PreviewCopper,
  PreviewMask,
  PreviewJumpers,
  PreviewProfile,
  PreviewPlated,
  PreviewUnplated,
  PreviewDrillMap,
  MarkTitle,
  MarkAtPad,
  MarkAt,
  Count  // not a text: the number of keys
};
inline constexpr std::size_t kTextCount = static_cast<std::size_t>(Text::Count);

struct Entry {
  Text key;
  std::string_view text;
};
// The tables the translators edit.
std::span<const Entry> EnglishEntries();
std::span<const Entry> JapaneseEntries();

// A placeholder's name, without braces, and the text put in its place.
struct Arg {
  std::string_view name;
  std::string value;
};

// The text of a key; English where the language lacks one.
std::string_view Wording(Language language, Text key);

// The pattern with each "{name}" of an argument replaced by its value; other braces stay.
std::string Fill(std::string_view pattern, std::span<const Arg> args);

std::string Say(Language language, Text key, std::initializer_list<Arg> args = {});

// The placeholder names of a pattern, sorted, each in braces: what a translation must keep.
std::string PlaceholdersOf(std::string_view pattern);

}  // namespace velmorta
