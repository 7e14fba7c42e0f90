#include "export/kicad_file.hpp"

#include <cerrno>
#include <optional>

#include "base/files.hpp"
#include "base/out_file.hpp"
#include "base/text_encoding.hpp"
#include "check/rules.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

// A file this export wrote keeps its start until another program saves over it.
bool SavedByAnotherProgram(const std::string& path) {
  int error = 0;
  const FileHandle file = OpenForReading(path, error);
  if (!file) return Exists(path);
  char start[kKicadBoardStart.size()];
  const std::size_t read = std::fread(start, 1, sizeof start, file.get());
  return std::string_view(start, read) != kKicadBoardStart;
}

void WriteDurably(const std::string& path, KicadMapping& mapping) {
  OutFile out;
  if (!out.Open(path)) throw ExportError(Text::CannotWrite, {{"file", path}, {"reason", ReasonText(errno != 0 ? errno : EIO)}});
  mapping.Write(out);
  out.Flush();
  int error = 0;
  if (!out.Failed() && out.Handle() != nullptr && !SyncToDisk(out.Handle(), error)) {
    throw ExportError(Text::CannotWrite, {{"file", path}, {"reason", ReasonText(error)}});
  }
  out.Close();
  if (out.Failed()) {
    throw ExportError(Text::CannotWriteStep,
                      {{"file", path}, {"step", std::string(out.FailedStep())}, {"reason", ReasonText(out.Error())}});
  }
}

}  // namespace

FeatureSink* KicadGatherer::Into(const FabLayer& layer) {
  if (layer.function == FileFunction::Soldermask || layer.function == FileFunction::Drillmap) return nullptr;
  layers_.push_back({&layer, {}});  // reserved: the lists already handed out stay where they are
  return &sinks_.emplace_back(layers_.back().features);
}

void KicadGatherer::LayerItems::Add(const Feature& feature) { items.push_back(ItemOf(feature)); }

void KicadGatherer::TakeGroups(check::FoundGroups found) {
  if (found.stopped) unknown_ = NoGroups{found.stopped->reason, found.stopped->count};
  groups_ = std::move(found.groups);
}

void KicadGatherer::TakeGroups(CheckBoardFiller& filler, const check::Limits& limits) {
  try {
    groups_ = filler.Groups(limits);
  } catch (const check::CheckStopped& stopped) {
    unknown_ = NoGroups{stopped.reason, stopped.count};
  } catch (const check::CheckError& tooLarge) {
    unknown_ = NoGroups{tooLarge.reason, tooLarge.count};
  }
}

void KicadGatherer::MoveInto(KicadInputs& inputs) {
  inputs.layers = std::move(layers_);
  inputs.groups = std::move(groups_);
}

KicadBoardFile::KicadBoardFile(const ConvertedBoard& board, const std::string& base, const check::Limits& limits) {
  const std::string name = board.name + ".kicad_pcb";
  outcome_.path = JoinOutputPath(board.settings, name);
  shown_ = SystemTextToUtf8(name);
  padName_ = SystemTextToUtf8(FileNameOf(base));
  if (KeptAsSaved()) return;
  // The pad file's frame is known only where the files were verified as its conversion.
  const std::optional<check::PadFrame>& frame = board.conversion.frame;
  int error = 0;
  const FileHandle padFile = frame ? OpenForReading(base + ".pad", error) : FileHandle();
  if (!frame || !padFile || !ReadPartLands(padFile.get(), inputs_.parts, error)) {
    const Part pad("base", AsIs(SystemTextToUtf8(base)));
    const Part::Told why = frame ? Telling(Text::KicadCannotReadPad, {pad, {"reason", ReasonText(error)}})
                                 : Telling(Text::KicadNoPad, {pad});
    outcome_.warning = Telling(Text::KicadNotWritten, {{"file", AsIs(shown_)}, {"why", why}});
    inputs_.parts.clear();
    return;
  }
  inputs_.frame = *frame;
  inputs_.rules = {limits.track, limits.spacing, limits.drillMin, limits.ring, limits.holeSpacing,
                   board.fabSettings.maskExpansion};
  gatherer_.emplace(board.model);
}

KicadBoardFile::~KicadBoardFile() {
  int error = 0;
  if (!staged_.empty()) RemoveFile(staged_, error);
}

bool KicadBoardFile::KeptAsSaved() {
  if (!SavedByAnotherProgram(outcome_.path)) return false;
  outcome_.warning = Telling(Text::KicadNotWritten, {{"file", AsIs(shown_)}, {"why", Text::KicadSavedSince}});
  return true;
}

void KicadBoardFile::Write() {
  if (!gatherer_) return;
  // Asked again: KiCad may have saved it while the set was written.
  if (KeptAsSaved()) {
    gatherer_.reset();
    return;
  }
  if (const std::optional<KicadGatherer::NoGroups>& unknown = gatherer_->Unknown()) {
    const Part why("reason", Telling(unknown->reason, {{"count", std::to_string(unknown->count)}}));
    outcome_.warning = Telling(Text::KicadNoNets, {{"file", AsIs(shown_)}, why});
  }
  gatherer_->MoveInto(inputs_);
  gatherer_.reset();
  try {
    KicadMapping mapping(std::move(inputs_));
    staged_ = outcome_.path + ".part";
    WriteDurably(staged_, mapping);
  } catch (const KicadMismatch& mismatch) {
    const Part record("record", std::to_string(mismatch.record));
    outcome_.warning =
        Telling(Text::KicadMismatch, {{"file", AsIs(shown_)},
                                      {"pad", AsIs(padName_)},
                                      {"mismatch", Telling(Text::PartNotLand, {record, {"name", AsIs(mismatch.name)}})}});
  }
}

KicadOutcome KicadBoardFile::Commit() {
  if (staged_.empty()) return outcome_;
  int error = 0;
  if (!RenameReplacing(staged_, outcome_.path, error)) {
    throw ExportError(Text::CannotRenameKicad, {{"file", outcome_.path}, {"staged", staged_}, {"reason", ReasonText(error)}});
  }
  staged_.clear();
  outcome_.written = true;
  return outcome_;
}

}  // namespace velmorta::fab
