#include "export/fab_set.hpp"

#include <array>
#include <cerrno>
#include <ctime>
#include <optional>
#include <set>
#include <string_view>

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
#include "export/read/last_conversion.hpp"
#include "export/read/pad_frame.hpp"
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
      throw ExportError("the configuration names no output file " + std::to_string(n + 1) +
                        " (the \">F\" lines name them in order)");
    }
    paths[n] = JoinOutputPath(settings, settings.OutputFileNames[n]);
  }
  return paths;
}

// Whether `path` is spelt as a name inside `folder`, at any depth: the file would go
// with the folder when the set replaces it.
bool InFolder(std::string_view path, std::string_view folder) {
  for (std::string_view up = DirectoryOf(path); !up.empty(); up = DirectoryOf(up)) {
    up.remove_suffix(1);  // the separator
    if (up == folder) return true;
  }
  return false;
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
  clock.zip = {utc->tm_year + 1900, utc->tm_mon + 1, utc->tm_mday, utc->tm_hour, utc->tm_min, utc->tm_sec};
  return clock;
}

// Streams to a file of the set; any failed write, flush or close stops the export.
class SetFile {
 public:
  explicit SetFile(const std::string& path) : path_(path) {
    if (!out_.Open(path)) throw ExportError("cannot write " + path + ": " + ReasonText(errno != 0 ? errno : EIO));
  }
  OutFile& Out() { return out_; }
  // On the disk before the set is swapped in.
  void Close() {
    out_.Flush();
    int error = 0;
    if (!out_.Failed() && out_.Handle() != nullptr && !SyncToDisk(out_.Handle(), error)) {
      throw ExportError("cannot write " + path_ + ": " + ReasonText(error));
    }
    out_.Close();
    if (out_.Failed()) {
      throw ExportError("cannot write " + path_ + ": " + std::string(out_.FailedStep()) + ": " +
                        ReasonText(out_.Error()));
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
  if (!written) throw ExportError("cannot write " + path + ": " + ReasonText(error != 0 ? error : EIO));
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

std::string ReadWholeFile(const std::string& path, const std::string& what) {
  int error = 0;
  FileHandle file = OpenForReading(path, error);
  if (!file) throw ExportError("cannot read " + what + " " + path + ": " + ReasonText(error));
  std::string bytes;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) bytes.append(buffer, n);
  if (std::ferror(file.get()) != 0) throw ExportError("cannot read " + what + " " + path);
  return bytes;
}

Board ReadBoard(const std::string& base, const std::string& configurationPath) {
  Board board;
  board.name = FileNameOf(base);
  if (board.name.empty()) throw ExportError("the board name " + base + " ends in a directory separator");

  // 1. The configuration: the converter's settings and the export's own ">E" lines.
  const std::string configuration = ReadWholeFile(configurationPath, "the configuration file");
  board.settings = ParseConfiguration(configuration);
  board.fabSettings = ParseFabSettings(board.settings.ExportLines, configurationPath);

  // 2. The converter's files, which must be those of the board's last conversion.
  board.paths = SourcePaths(board.settings);
  CheckLastConversion(base, board.paths);
  DiskSources sources(board.paths);

  // 3. The land files: every land's position, and whether the second side has any.
  SurveyLands(sources, board.facts);
  const SidesRule sides = board.fabSettings.sides;
  const bool doubleSided = sides == SidesRule::Two || (sides == SidesRule::Auto && board.facts.secondSideLands);

  // 4. The board house's layers.
  board.model = ComposeLayers(board.fabSettings, doubleSided, board.name);

  // 5. The drill file: through-holes, and the tools of plated and non-plated holes.
  SurveyDrill(sources, board.model.copperLayers, board.facts);
  return board;
}

ExportResult ExportFabSet(const ExportRequest& request) {
  // 1 to 5: the board and its layers.
  const Board read = ReadBoard(request.base, request.configuration);
  const std::string& board = read.name;
  const Settings& settings = read.settings;
  const SevenFiles& paths = read.paths;
  const LayerModel& model = read.model;
  const BoardFacts& facts = read.facts;
  DiskSources sources(paths);

  ExportResult result;
  result.folder = JoinOutputPath(settings, board + "-fab");
  result.archive = result.folder + ".zip";
  const std::set<std::string> converterFiles(paths.begin(), paths.end());
  for (const std::string& ours : {result.folder, result.archive}) {
    for (const std::string& name : {ours, ours + ".part", ours + ".old"}) {
      if (converterFiles.count(name) != 0) {
        throw ExportError(name + ": this name is the converter's output file; rename the output files");
      }
    }
  }
  for (const std::string& path : paths) {
    for (const std::string& folder : {result.folder, result.folder + ".part", result.folder + ".old"}) {
      if (InFolder(path, folder)) {
        throw ExportError(path + ": the converter's output file lies in " + folder +
                          ", which the export replaces; put the output files elsewhere");
      }
    }
  }

  // 6. Each layer written as it is read; the preview's groups, the extents and the
  //    check's board gathered on the way. A drill file without a hit is left out
  //    (readers cannot tell it is one).
  const Clock clock = Now(request.timestamp);
  StagedSet staged(result.folder, result.archive, request.rename);
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
  PreviewFrame frame{SystemTextToUtf8(board), ink, outline, std::nullopt};
  std::vector<std::string> checkNames;
  if (checkBoard) {
    const PadFrameRead pad = ReadPadFrame(request.base, settings);
    result.check = checkBoard->Check(pad.frame, request.limits);
    check::FileNames names;
    for (std::size_t n = 0; n < sourceNames.size(); ++n) names[n + 1] = sourceNames[n];
    for (const bool csv : {false, true}) {
      checkNames.push_back(board + (csv ? "-check.csv" : "-check.txt"));
      SetFile file(staged.Path(checkNames.back()));
      file.Out().Put(csv ? check::ReportCsv(*result.check, names)
                         : check::ReportText(*result.check, request.limits, names, pad.why));
      file.Close();
    }
    frame.check = MarksOf(*result.check);
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
  staged.Commit();
  if (kicad) {
    const KicadOutcome outcome = kicad->Commit();
    if (outcome.written) result.kicad = outcome.path;
    result.kicadWarning = outcome.warning;
  }
  return result;
}

}  // namespace velmorta::fab
