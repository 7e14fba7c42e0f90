#include "export/fab_set.hpp"

#include <array>
#include <cerrno>
#include <ctime>
#include <optional>
#include <set>
#include <string_view>

#include "base/diagnostics.hpp"
#include "base/file_lock.hpp"
#include "base/files.hpp"
#include "base/text_encoding.hpp"
#include "config/config_reader.hpp"
#include "check/report.hpp"
#include "export/write/aperture_report.hpp"
#include "export/check_board.hpp"
#include "export/read/export_error.hpp"
#include "export/write/fab_writers.hpp"
#include "export/write/job_file.hpp"
#include "export/kicad_file.hpp"
#include "export/set_paths.hpp"
#include "export/write/svg_preview.hpp"
#include "export/write/zip_archive.hpp"

namespace velmorta::fab {
namespace {

using SevenFiles = std::array<std::string, 7>;

// Where the converter wrote its seven files by this configuration.
SevenFiles SourcePaths(const Settings& settings) {
  SevenFiles paths;
  for (std::size_t n = 0; n < paths.size(); ++n) {
    if (n >= settings.OutputFileNames.size() || settings.OutputFileNames[n].empty()) {
      throw ExportError(Text::NoOutputFileNamed,
                        {{"configuration", settings.FileName}, {"number", std::to_string(n + 1)}});
    }
    paths[n] = JoinOutputPath(settings, settings.OutputFileNames[n]);
  }
  return paths;
}

struct Clock {
  std::optional<std::string> iso;  // "2024-05-01T12:34:56Z"
  ZipTime zip;
};

Clock Now(bool wanted) {
  Clock clock;
  if (!wanted) return clock;
  const std::time_t now = std::time(nullptr);
  const std::tm* utc = std::gmtime(&now);
  if (utc == nullptr) return clock;
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
  clock.iso = text;
  // An archive's entry times are local by the format's convention: unzipped in Tokyo, a
  // UTC time would show nine hours early.
  const std::tm* local = std::localtime(&now);
  if (local == nullptr) local = std::gmtime(&now);
  clock.zip = {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min,
               local->tm_sec};
  return clock;
}


// Streams to a file of the set; any failed write, flush or close stops the export.
class SetFile {
 public:
  explicit SetFile(const std::string& path) : path_(path) {
    if (!out_.Open(path)) {
      throw ExportError(Text::CannotWriteSet, {{"file", path}, {"reason", ReasonText(errno != 0 ? errno : EIO)}});
    }
  }
  OutFile& Out() { return out_; }
  // On the disk before the set is swapped in.
  void Close() {
    out_.Flush();
    int error = 0;
    if (!out_.Failed() && out_.Handle() != nullptr && !SyncToDisk(out_.Handle(), error)) {
      throw ExportError(Text::CannotWriteSet, {{"file", path_}, {"reason", ReasonText(error)}});
    }
    out_.Close();
    if (out_.Failed()) {
      throw ExportError(Text::CannotWriteSetStep,
                        {{"file", path_}, {"step", std::string(out_.FailedStep())}, {"reason", ReasonText(out_.Error())}});
    }
  }

 private:
  std::string path_;
  OutFile out_;
};

// Fills in the first line of a file written with its fields unset.
void WriteOver(const std::string& path, std::uint64_t offset, const std::string& bytes) {
  bool created = false;
  int error = 0;
  FileHandle file = OpenWithoutTruncating(path, created, error);
  bool written = file && SeekTo(file.get(), offset, error);
  if (written) {
    errno = 0;
    written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    if (!written) error = errno;
  }
  if (written) written = SyncToDisk(file.get(), error);
  if (written) {
    errno = 0;
    written = std::fclose(file.release()) == 0;
    if (!written) error = errno;
  }
  if (!written) {
    throw ExportError(Text::CannotWriteSet, {{"file", path}, {"reason", ReasonText(error != 0 ? error : EIO)}});
  }
}

// A layer's features to its writer, and to the check, the preview and the extents on
// the way.
class LayerTee final : public FeatureSink {
 public:
  LayerTee(FeatureSink& writer, FeatureSink* check, PreviewBody* preview, geometry::Extents& ink,
           geometry::Extents* centres)
      : writer_(writer), check_(check), preview_(preview), ink_(ink), centres_(centres) {}

  void Add(const Feature& feature) override {
    writer_.Add(feature);
    if (check_ != nullptr) check_->Add(feature);
    if (preview_ == nullptr) return;
    preview_->Add(feature);
    if (feature.kind == FeatureKind::Stroke) {
      ink_.Add(feature.stroke);
      if (centres_ != nullptr) {
        centres_->Add(feature.stroke.from);
        centres_->Add(feature.stroke.to);
      }
    } else {
      ink_.Add(feature.disc);
    }
  }

 private:
  FeatureSink& writer_;
  FeatureSink* check_;
  PreviewBody* preview_;
  geometry::Extents& ink_;
  geometry::Extents* centres_;
};

std::string Utf8Name(const std::string& path) { return SystemTextToUtf8(FileNameOf(path)); }

std::string Title(const FabLayer& layer, const std::string& board, const SourceFiles& sources) {
  std::string from;
  for (const Source& source : layer.sources) {
    from += (from.empty() ? "" : " and ") + Utf8Name(sources.Name(source.file));
  }
  return layer.role + " of " + SystemTextToUtf8(board) + ", from " + from + ", by velmorta-export " VELMORTA_VERSION;
}

}  // namespace

std::string ReadWholeFile(const std::string& path, Text what) {
  int error = 0;
  FileHandle file = OpenForReading(path, error);
  if (!file) throw ExportError(Text::CannotReadNamed, {{"what", what}, {"file", path}, {"reason", ReasonText(error)}});
  std::string bytes;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) bytes.append(buffer, n);
  if (std::ferror(file.get()) != 0) throw ExportError(Text::CannotReadNamedNoReason, {{"what", what}, {"file", path}});
  return bytes;
}

Board ReadBoard(const std::string& base, const std::string& configurationPath) {
  Board board;
  board.name = FileNameOf(base);
  if (board.name.empty()) throw ExportError(Text::BoardNameIsFolder, {{"base", base}});

  // 1. The configuration: the converter's settings and the export's own ">E" lines.
  const std::string configuration = ReadWholeFile(configurationPath, Text::TheConfigurationFile);
  Diagnostics quiet(nullptr, base + ".pad", configurationPath);  // the converter warns of its lines
  board.settings = ParseConfiguration(configuration, quiet);
  board.fabSettings = ParseFabSettings(board.settings.ExportLines, configurationPath);

  // 2. The converter's files, which must be what velmorta makes of the board.
  board.paths = SourcePaths(board.settings);
  board.conversion = BindToConversion(base, board.settings, board.paths);
  DiskSources sources(board.paths);

  // 3. The land files: every land's position. The board's type is the pad file's;
  //    without one, the board is double-sided when the second side has a land.
  SurveyLands(sources, board.facts);
  const bool twoSides = board.conversion.verified ? board.conversion.doubleSided : board.facts.secondSideLands;
  const SidesRule sides = board.fabSettings.sides;
  const bool doubleSided = sides == SidesRule::Two || (sides == SidesRule::Auto && twoSides);

  // 4. The board house's layers.
  board.model = ComposeLayers(board.fabSettings, doubleSided, board.name);

  // 5. The drill file: through-holes, and the tools of plated and non-plated holes.
  SurveyDrill(sources, board.model.copperLayers, board.facts);
  return board;
}

ExportResult ExportFabSet(const ExportRequest& request) {
  // 1 to 5: the board and its layers.
  const Board read = ReadBoard(request.base, request.configuration);
  if (!read.conversion.verified && request.warnings != nullptr) {
    const Language language = request.voice.Lang();
    const std::string text = Say(language, Text::NotVerified, {{"base", NameIn(language, request.base)}});
    *request.warnings << request.voice.Out(Say(language, Text::ExportWarningLine, {{"text", text}})) << '\n';
  }
  const std::string& board = read.name;
  const Settings& settings = read.settings;
  const SevenFiles& paths = read.paths;
  const LayerModel& model = read.model;
  const BoardFacts& facts = read.facts;
  DiskSources sources(paths);

  ExportResult result;
  SetPaths set = SetPaths::Of(JoinOutputPath(settings, board + "-fab"));
  if (request.kicad) {
    const std::string kicad = JoinOutputPath(settings, board + ".kicad_pcb");
    set.beside = {kicad, kicad + ".part"};
  }
  result.folder = set.folder;
  result.archive = set.archive;
  RefuseClashes(set, KeptFilesOf(request.base, request.configuration, paths));
  FileLock lock;
  LockSet(lock, set, request.lockWait);

  // 6. Each layer written as it is read; the preview's groups, the extents and the
  //    check's board gathered on the way. A drill file without a hit is left out
  //    (readers cannot tell it is one).
  const Clock clock = Now(request.timestamp);
  StagedSet staged(set, request.step);
  std::vector<const FabLayer*> written;
  std::vector<ReportLayer> report;
  SevenFiles sourceNames;
  for (const Output file : kOutputs) sourceNames[IndexOf(file)] = Utf8Name(paths[IndexOf(file)]);
  geometry::Extents ink, outline;
  const std::string previewName = board + "-preview.svg";
  SetFile svg(staged.Path(previewName));
  WritePreviewStart(svg.Out(), SystemTextToUtf8(board));
  PreviewBody preview(svg.Out());
  std::optional<CheckBoardFiller> checkBoard;
  if (request.check) checkBoard.emplace(model, facts, sources);
  // The archive of what a board house takes, the layers and the job file, deflated on a
  // thread of its own while the next layers are written and the board checked.
  ZipArchive zip(staged.StagedArchive(), clock.zip);
  for (const FabLayer& layer : model.layers) {
    const std::set<std::int32_t>& tools =
        layer.function == FileFunction::Plated ? facts.platedTools : facts.unplatedTools;
    if (layer.IsDrill() && tools.empty()) continue;
    const Heading heading{Title(layer, board, sources), clock.iso};
    SetFile out(staged.Path(layer.name));
    const bool shown = InPreview(layer);
    if (shown) preview.Begin(layer);
    geometry::Extents* centres = layer.function == FileFunction::Profile ? &outline : nullptr;
    FeatureSink* check = checkBoard && checkBoard->Begin(layer) ? &*checkBoard : nullptr;
    if (layer.IsDrill()) {
      ExcellonWriter writer(out.Out(), layer, model.copperLayers, heading, tools, settings, sources);
      LayerTee tee(writer, check, shown ? &preview : nullptr, ink, centres);
      WalkLayer(layer, settings, facts, sources, tee);
      writer.Finish();
      report.push_back({SystemTextToUtf8(layer.name), true, writer.Uses(), sourceNames});
    } else {
      GerberWriter writer(out.Out(), layer, model.copperLayers, heading, sources);
      LayerTee tee(writer, check, shown ? &preview : nullptr, ink, centres);
      WalkLayer(layer, settings, facts, sources, tee);
      writer.Finish();
      report.push_back({SystemTextToUtf8(layer.name), false, writer.Uses(), sourceNames});
    }
    if (shown) preview.End();
    out.Close();
    zip.Add(SystemTextToUtf8(layer.name), staged.Path(layer.name));
    written.push_back(&layer);
    result.files.push_back(layer.name);
  }

  // 7. The job file and the aperture table.
  const std::string jobName = board + ".gbrjob";
  {
    SetFile job(staged.Path(jobName));
    job.Out().Put(WriteJobFile(written, model.copperLayers, outline, clock.iso));
    job.Close();
  }
  zip.Add(SystemTextToUtf8(jobName), staged.Path(jobName));
  const std::string reportName = board + "-apertures.csv";
  {
    SetFile csv(staged.Path(reportName));
    csv.Out().Put(WriteReport(report));
    csv.Close();
  }

  // 8. The board check of what was written, its report beside the set (not in the
  //    archive: the house does not take it); then the preview's views, with every
  //    finding marked.
  PreviewFrame frame{SystemTextToUtf8(board), ink, outline, std::nullopt, request.language};
  std::vector<std::string> checkNames;
  if (checkBoard) {
    // Positions in the pad file's units need the frame of its conversion.
    const std::string why =
        read.conversion.frame ? "" : Say(request.language, Text::NoPadFile, {{"base", Utf8Name(request.base)}});
    result.check = checkBoard->Check(read.conversion.frame, request.limits, request.language);
    check::FileNames names;
    for (std::size_t n = 0; n < sourceNames.size(); ++n) names[n + 1] = sourceNames[n];
    for (const bool csv : {false, true}) {
      checkNames.push_back(board + (csv ? "-check.csv" : "-check.txt"));
      SetFile file(staged.Path(checkNames.back()));
      file.Out().Put(csv ? check::ReportCsv(*result.check, names)
                         : check::ReportText(*result.check, request.limits, names, why, request.language));
      file.Close();
    }
    frame.check = MarksOf(*result.check, request.language);
  }
  const std::string root = WritePreviewEnd(svg.Out(), written, frame);
  svg.Close();
  WriteOver(staged.Path(previewName), kPreviewRootOffset, root);

  // 9. The archive, once its last entry is deflated.
  zip.Finish();
  result.files.push_back(jobName);
  result.files.push_back(reportName);
  result.files.insert(result.files.end(), checkNames.begin(), checkNames.end());
  result.files.push_back(previewName);

  // 10. The board for KiCad, staged beside the set (not in the archive).
  std::optional<KicadBoardFile> kicad;
  if (request.kicad) kicad.emplace(read, request.base, request.limits);

  // 11. The new set in place of the previous one, whole; then the board for KiCad.
  result.warning = staged.Commit();
  if (kicad) {
    const KicadOutcome outcome = kicad->Commit();
    if (outcome.written) result.kicad = outcome.path;
    result.kicadWarning = outcome.warning;
  }
  return result;
}

}  // namespace velmorta::fab
