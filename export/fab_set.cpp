#include "export/fab_set.hpp"

#include <array>
#include <cerrno>
#include <ctime>
#include <deque>
#include <functional>
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
#include "export/progress.hpp"
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
  // One that goes into the archive too: its entry takes the bytes as they are written.
  SetFile(const std::string& path, ZipEntry entry) : SetFile(path) {
    entry_.emplace(entry);
    out_.Tee(*entry_);
  }
  SetFile(const SetFile&) = delete;  // the file hands its bytes to the entry inside
  SetFile& operator=(const SetFile&) = delete;
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
    if (entry_) entry_->Close();
  }

 private:
  std::string path_;
  std::optional<ZipEntry> entry_;
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

std::string Utf8Name(const std::string& path) { return SystemTextToUtf8(FileNameOf(path)); }

std::string Title(const FabLayer& layer, const std::string& board, const SourceFiles& sources) {
  std::string from;
  for (const Source& source : layer.sources) {
    from += (from.empty() ? "" : " and ") + Utf8Name(sources.Name(source.file));
  }
  return layer.role + " of " + SystemTextToUtf8(board) + ", from " + from + ", by velmorta-export " VELMORTA_VERSION;
}


void WarnIfUnverified(const ConvertedBoard& board, const ExportRequest& request) {
  if (board.conversion.verified || request.warnings == nullptr) return;
  const Language language = request.voice.Lang();
  const std::string text = Say(language, Text::NotVerified, {{"base", NameIn(language, request.base)}});
  *request.warnings << request.voice.Out(Say(language, Text::ExportWarningLine, {{"text", text}})) << '\n';
}

// The set's folder and archive, and the board for KiCad beside them; refused where they
// would overwrite a file the export reads.
SetPaths SetPathsOf(const ConvertedBoard& board, const ExportRequest& request, ExportResult& result) {
  SetPaths set = SetPaths::Of(JoinOutputPath(board.settings, board.name + "-fab"));
  if (request.kicad) {
    const std::string kicad = JoinOutputPath(board.settings, board.name + ".kicad_pcb");
    set.beside = {kicad, kicad + ".part"};
  }
  result.folder = set.folder;
  result.archive = set.archive;
  RefuseClashes(set, KeptFilesOf(request.base, request.configuration, board.paths));
  return set;
}

// The preview is exact while its layers' files are small: a feature takes about as
// many bytes in the preview as in its file, so their sizes count the features before
// any is read. Beyond that it is drawn on a grid of 256 cells across the lands, each
// layer's cells in at most 13 MB shared out, so that the whole stays under 16 MB.
PreviewGrid PreviewGridOf(const ConvertedBoard& board, const SourceFiles& sources) {
  constexpr std::uintmax_t kExactBytes = 12 << 20, kCellBytes = 13 << 20;
  constexpr std::uintmax_t kBytesPerCell = 24;  // "M-1234567 -1234567h0", a run of one
  constexpr std::int64_t kCellsAcross = 256;
  std::uintmax_t bytes = 0, shown = 0;
  for (const FabLayer& layer : board.model.layers) {
    if (!InPreview(layer)) continue;
    ++shown;
    // A file that cannot be measured counts nothing: it cannot be read either.
    for (const Source& source : layer.sources) bytes += sources.Bytes(source.file);
  }
  if (bytes <= kExactBytes) return {};
  const geometry::Extents& lands = board.facts.landExtents;
  const std::int64_t span = std::max(lands.Width(), lands.Height());
  return {std::max<std::int64_t>(span / kCellsAcross, 100), kCellBytes / (shown * kBytesPerCell)};
}

// One layer being written, all of them at once as the walk reads: its file and writer
// with the archive's entry that takes its bytes, its group of the preview with the
// extents, and whatever else takes its features (the check, the board for KiCad).
class LayerOutput final : public LayerSink {
 public:
  using Ended = std::function<void()>;

  // `preview` null: not shown.
  LayerOutput(const FabLayer& layer, const std::string& path, ZipEntry entry, const Heading& heading,
              const ConvertedBoard& board, const std::set<std::int32_t>& tools, const SourceFiles& sources,
              PreviewGroups::Group* preview, geometry::Extents& ink, geometry::Extents& outline, Ended ended)
      : layer_(layer), file_(path, entry), preview_(preview), ink_(ink), ended_(std::move(ended)) {
    const int copperLayers = board.model.copperLayers;
    if (layer.IsDrill()) {
      writer_ = &excellon_.emplace(file_.Out(), layer, copperLayers, heading, tools, board.settings, sources);
    } else {
      writer_ = &gerber_.emplace(file_.Out(), layer, copperLayers, heading, sources);
    }
    if (layer.function == FileFunction::Profile) centres_ = &outline;
  }

  // Another that takes every feature of the layer.
  void Attach(FeatureSink& other) { others_.push_back(&other); }

  void Add(const Feature& feature) override {
    writer_->Add(feature);
    for (FeatureSink* other : others_) other->Add(feature);
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

  void End() override {
    if (gerber_) gerber_->Finish();
    if (excellon_) excellon_->Finish();
    if (preview_ != nullptr) preview_->End();
    file_.Close();
    done_ = true;
    ended_();
  }

  const FabLayer& Layer() const { return layer_; }
  bool Done() const { return done_; }
  const std::vector<ApertureUse>& Uses() const { return gerber_ ? gerber_->Uses() : excellon_->Uses(); }

 private:
  const FabLayer& layer_;
  SetFile file_;
  std::optional<GerberWriter> gerber_;
  std::optional<ExcellonWriter> excellon_;
  FeatureSink* writer_ = nullptr;
  std::vector<FeatureSink*> others_;
  PreviewGroups::Group* preview_;
  geometry::Extents& ink_;
  geometry::Extents* centres_ = nullptr;
  Ended ended_;
  bool done_ = false;
};

// The set being written: every layer in one walk of the converter's files to its
// writer, the check's board, the board for KiCad, the preview and the extents; what a
// board house takes to the archive too as it is written, deflated there on a thread of
// its own.
class SetWriting {
 public:
  SetWriting(const ConvertedBoard& board, const ExportRequest& request, const SetPaths& set, ExportResult& result,
             KicadGatherer* kicad)
      : board_(board),
        request_(request),
        result_(result),
        kicad_(kicad),
        sources_(board.paths),
        clock_(Now(request.timestamp)),
        staged_(set, request.step),
        previewName_(board.name + "-preview.svg"),
        svg_(staged_.Path(previewName_)),
        grid_(PreviewGridOf(board, sources_)),
        preview_(svg_.Out(), grid_),
        zip_(staged_.StagedArchive(), clock_.zip, staged_.StagedFolder()) {
    for (const Output file : kOutputs) sourceNames_[IndexOf(file)] = Utf8Name(board.paths[IndexOf(file)]);
    WritePreviewStart(svg_.Out(), SystemTextToUtf8(board.name));
    // Without the check its board is still filled for the board for KiCad's nets.
    if (request.check || kicad_ != nullptr) checkBoard_.emplace(board.model, board.facts, sources_);
  }

  // Every layer from one reading of each converter file; `held`, the drill and land
  // files as the board was read, is gone on return. A drill file without a hit is left
  // out (readers cannot tell it is one). Each layer, once it and those before it are
  // written, is listed for the aperture table and the job file in layer order;
  // `progress` is told the layer after it.
  void WriteLayers(HeldFiles held, Progress& progress) {
    const std::vector<FabLayer>& layers = board_.model.layers;
    std::deque<LayerOutput> outputs;
    std::vector<WalkedLayer> walked;
    std::size_t listed = 0;
    const auto step = [&](const FabLayer& layer) {
      const auto number = static_cast<std::size_t>(&layer - layers.data()) + 1;
      progress.Step(Text::ProgressLayer, {{"number", std::to_string(number)}, {"count", std::to_string(layers.size())}});
    };
    const auto list = [&] {
      for (; listed < outputs.size() && outputs[listed].Done(); ++listed) {
        List(outputs[listed]);
        if (listed + 1 < outputs.size()) step(outputs[listed + 1].Layer());
      }
    };
    for (const FabLayer& layer : layers) {
      const std::set<std::int32_t>& tools =
          layer.function == FileFunction::Plated ? board_.facts.platedTools : board_.facts.unplatedTools;
      if (layer.IsDrill() && tools.empty()) continue;
      const Heading heading{Title(layer, board_.name, sources_), clock_.iso};
      PreviewGroups::Group* shown = InPreview(layer) ? &preview_.Open(layer) : nullptr;
      LayerOutput& output = outputs.emplace_back(layer, staged_.Path(layer.name), ArchiveEntry(layer.name), heading,
                                                 board_, tools, sources_, shown, ink_, outline_, list);
      if (FeatureSink* check = checkBoard_ ? checkBoard_->Into(layer) : nullptr) output.Attach(*check);
      walked.push_back({&layer, &output});
      if (FeatureSink* kicad = kicad_ != nullptr ? kicad_->Into(layer) : nullptr) output.Attach(*kicad);
    }
    if (!outputs.empty()) step(outputs.front().Layer());
    WalkLayers(walked, board_.settings, board_.facts, &held, sources_);
  }

  void WriteJobFile() {
    const std::string name = board_.name + ".gbrjob";
    SetFile job(staged_.Path(name), ArchiveEntry(name));
    job.Out().Put(fab::WriteJobFile(written_, board_.model.copperLayers, outline_, clock_.iso));
    job.Close();
    result_.files.push_back(name);
  }

  void WriteApertureTable() {
    const std::string name = board_.name + "-apertures.csv";
    SetFile csv(staged_.Path(name));
    csv.Out().Put(WriteReport(report_));
    csv.Close();
    result_.files.push_back(name);
  }

  void CheckBoard() {
    if (!checkBoard_) return;
    if (!request_.check) {
      kicad_->TakeGroups(*checkBoard_, request_.limits);
      checkBoard_.reset();
      return;
    }
    // Positions in the pad file's units need the frame of its conversion.
    const std::string why =
        board_.conversion.frame ? "" : Say(request_.language, Text::NoPadFile, {{"base", Utf8Name(request_.base)}});
    check::FoundGroups groups;
    result_.check = checkBoard_->Check(board_.conversion.frame, request_.limits, request_.language,
                                       kicad_ != nullptr ? &groups : nullptr);
    if (kicad_ != nullptr) kicad_->TakeGroups(std::move(groups));
    check::FileNames names;
    for (std::size_t n = 0; n < sourceNames_.size(); ++n) names[n + 1] = sourceNames_[n];
    for (const bool csv : {false, true}) {
      const std::string name = board_.name + (csv ? "-check.csv" : "-check.txt");
      SetFile file(staged_.Path(name));
      file.Out().Put(csv ? check::ReportCsv(*result_.check, names)
                         : check::ReportText(*result_.check, request_.limits, names, why, request_.language));
      file.Close();
      result_.files.push_back(name);
    }
    checkBoard_.reset();  // its memory, for the board for KiCad
  }

  void FinishPreview() {
    PreviewFrame frame{SystemTextToUtf8(board_.name), ink_, outline_, std::nullopt, grid_.cell, request_.language};
    if (result_.check) frame.check = MarksOf(*result_.check, request_.language);
    const std::string root = WritePreviewEnd(svg_.Out(), written_, frame);
    svg_.Close();
    WriteOver(staged_.Path(previewName_), kPreviewRootOffset, root);
    result_.files.push_back(previewName_);
  }

  void FinishArchive() { zip_.Finish(); }

  Part::Told Commit() { return staged_.Commit(); }

 private:
  ZipEntry ArchiveEntry(const std::string& name) { return zip_.Open(SystemTextToUtf8(name), staged_.Path(name)); }

  const ConvertedBoard& board_;
  const ExportRequest& request_;
  ExportResult& result_;
  KicadGatherer* kicad_;  // null when no board for KiCad is written
  DiskSources sources_;
  const Clock clock_;
  StagedSet staged_;
  SevenFiles sourceNames_;
  const std::string previewName_;
  SetFile svg_;
  const PreviewGrid grid_;
  PreviewGroups preview_;
  std::optional<CheckBoardFiller> checkBoard_;
  ZipArchive zip_;
  geometry::Extents ink_, outline_;
  std::vector<const FabLayer*> written_;
  std::vector<ReportLayer> report_;

  void List(const LayerOutput& output) {
    const FabLayer& layer = output.Layer();
    report_.push_back({SystemTextToUtf8(layer.name), layer.IsDrill(), output.Uses(), sourceNames_});
    written_.push_back(&layer);
    result_.files.push_back(layer.name);
  }
};

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

ConvertedBoard ReadBoard(const std::string& base, const std::string& configurationPath) {
  ConvertedBoard board;
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

  // 3. The drill file, then the land files, read once and held: the through-holes,
  //    every land's position and which are via pads. The board's type is the pad
  //    file's; without one, the board is double-sided when the second side has a land.
  board.held = ReadHeldFiles(sources, board.facts);
  const bool twoSides = board.conversion.verified ? board.conversion.doubleSided : board.facts.secondSideLands;
  const SidesRule sides = board.fabSettings.sides;
  const bool doubleSided = sides == SidesRule::Two || (sides == SidesRule::Auto && twoSides);

  // 4. The board house's layers.
  board.model = ComposeLayers(board.fabSettings, doubleSided, board.name);

  // 5. The hits: plated or not, and the tools of each kind.
  SortHits(board.held.drill, LandsOf(board.held), board.model.copperLayers, board.facts);
  return board;
}

ExportResult ExportFabSet(const ExportRequest& request) {
  Progress progress(request.progress, request.voice);

  // 1. The board: its configuration, its files bound to their conversion, its layers.
  progress.Step(Text::ProgressReading);
  ConvertedBoard board = ReadBoard(request.base, request.configuration);
  progress.Clear();
  WarnIfUnverified(board, request);

  // 2. Where the set goes, clear of the files it is made from, and locked.
  ExportResult result;
  const SetPaths set = SetPathsOf(board, request, result);
  FileLock lock;
  LockSet(lock, set, request.lockWait);

  // 3. Every layer written as the converter's files are read, each file once, fanned
  //    out on the way, also to the board for KiCad when one can be written.
  std::optional<KicadBoardFile> kicad;
  if (request.kicad) kicad.emplace(board, request.base, request.limits);
  SetWriting writing(board, request, set, result, kicad ? kicad->Gatherer() : nullptr);
  writing.WriteLayers(std::move(board.held), progress);

  // 4. The job file and the aperture table.
  writing.WriteJobFile();
  writing.WriteApertureTable();

  // 5. The board check of what was written, its report beside the set (not in the
  //    archive: the house does not take it).
  if (request.check) progress.Step(Text::ProgressChecking);
  writing.CheckBoard();

  // 6. The preview's views, with every finding marked.
  progress.Step(Text::ProgressPreview);
  writing.FinishPreview();

  // 7. The archive, once its last entry is deflated.
  progress.Step(Text::ProgressArchive);
  writing.FinishArchive();

  // 8. The board for KiCad, staged beside the set (not in the archive).
  if (kicad) {
    progress.Step(Text::ProgressKicad);
    kicad->Write();
  }

  // 9. The new set in place of the previous one, whole; then the board for KiCad.
  result.warning = writing.Commit();
  if (kicad) {
    const KicadOutcome outcome = kicad->Commit();
    if (outcome.written) result.kicad = outcome.path;
    result.kicadWarning = outcome.warning;
  }
  return result;
}

}  // namespace velmorta::fab
