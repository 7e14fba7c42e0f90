#include "export/kicad_file.hpp"

#include <cerrno>
#include <optional>

#include "base/files.hpp"
#include "base/out_file.hpp"
#include "base/text_encoding.hpp"
#include "check/rules.hpp"
#include "export/check_board.hpp"
#include "export/read/export_error.hpp"
#include "export/write/kicad_mapping.hpp"

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

void WriteDurably(const std::string& path, const KicadBoard& board) {
  OutFile out;
  if (!out.Open(path)) throw ExportError(Text::CannotWrite, {{"file", path}, {"reason", ReasonText(errno != 0 ? errno : EIO)}});
  WriteKicadBoard(board, out);
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

// The layers KiCad's board is made of, walked once more, the copper also into the
// check's board for its connected groups (without the jumpers' wires: KiCad joins
// only copper).
void Walk(const Board& board, KicadInputs& inputs, CheckBoardFiller& filler) {
  DiskSources sources(board.paths);
  struct Gather final : FeatureSink {
    std::vector<KicadItem>* into = nullptr;
    CheckBoardFiller* filler = nullptr;
    void Add(const Feature& feature) override {
      into->push_back(ItemOf(feature));
      if (filler != nullptr) filler->Add(feature);
    }
  } gather;
  for (const FabLayer& layer : board.model.layers) {
    const FileFunction f = layer.function;
    if (f == FileFunction::Soldermask || f == FileFunction::Drillmap) continue;
    inputs.layers.push_back({&layer, {}});
    gather.into = &inputs.layers.back().features;
    gather.filler = f != FileFunction::Legend && filler.Begin(layer) ? &filler : nullptr;
    WalkLayer(layer, board.settings, board.facts, sources, gather);
  }
}

// The layers' items and the copper's connected groups; the check's board that finds
// them is gone before the board is mapped, which needs as much again.
void GatherItems(const Board& board, const check::Limits& limits, const std::string& shown, KicadInputs& inputs,
                 Part::Told& warning) {
  DiskSources sources(board.paths);
  CheckBoardFiller filler(board.model, board.facts, sources);
  Walk(board, inputs, filler);
  try {
    inputs.groups = filler.Groups(limits);
  } catch (const check::CheckStopped& stopped) {
    const Part reason("reason", Telling(stopped.reason, {{"count", std::to_string(stopped.count)}}));
    warning = Telling(Text::KicadNoNets, {{"file", AsIs(shown)}, reason});
  } catch (const check::CheckError& tooLarge) {
    const Part reason("reason", Telling(tooLarge.reason, {{"count", std::to_string(tooLarge.count)}}));
    warning = Telling(Text::KicadNoNets, {{"file", AsIs(shown)}, reason});
  }
}

// The board in KiCad's terms, or none and why (`warning`); its inputs are gone on return.
std::optional<KicadBoard> BoardFor(const Board& board, const std::string& base, const check::Limits& limits,
                                   const std::string& shown, Part::Told& warning) {
  // The pad file's frame is known only where the files were verified as its conversion.
  const std::optional<check::PadFrame>& frame = board.conversion.frame;
  KicadInputs inputs;
  int error = 0;
  const FileHandle padFile = frame ? OpenForReading(base + ".pad", error) : FileHandle();
  if (!frame || !padFile || !ReadPartLands(padFile.get(), inputs.parts, error)) {
    const Part pad("base", AsIs(SystemTextToUtf8(base)));
    const Part::Told why = frame ? Telling(Text::KicadCannotReadPad, {pad, {"reason", ReasonText(error)}})
                                 : Telling(Text::KicadNoPad, {pad});
    warning = Telling(Text::KicadNotWritten, {{"file", AsIs(shown)}, {"why", why}});
    return std::nullopt;
  }
  inputs.frame = *frame;
  inputs.rules = {limits.track, limits.spacing, limits.drillMin, limits.ring, limits.holeSpacing,
                  board.fabSettings.maskExpansion};
  GatherItems(board, limits, shown, inputs, warning);
  try {
    return MapToKicad(inputs);
  } catch (const KicadMismatch& mismatch) {
    warning = Telling(Text::KicadMismatch, {{"file", AsIs(shown)},
                                            {"pad", AsIs(SystemTextToUtf8(FileNameOf(base)))},
                                            {"mismatch", Telling(Text::PartNotLand, {{"record", std::to_string(mismatch.record)},
                                                                                      {"name", AsIs(mismatch.name)}})}});
    return std::nullopt;
  }
}

}  // namespace

KicadBoardFile::KicadBoardFile(const Board& board, const std::string& base, const check::Limits& limits) {
  const std::string name = board.name + ".kicad_pcb";
  outcome_.path = JoinOutputPath(board.settings, name);
  const std::string shown = SystemTextToUtf8(name);
  if (SavedByAnotherProgram(outcome_.path)) {
    outcome_.warning = Telling(Text::KicadNotWritten, {{"file", AsIs(shown)}, {"why", Text::KicadSavedSince}});
    return;
  }
  const std::optional<KicadBoard> kicad = BoardFor(board, base, limits, shown, outcome_.warning);
  if (!kicad) return;
  staged_ = outcome_.path + ".part";
  WriteDurably(staged_, *kicad);
}

KicadBoardFile::~KicadBoardFile() {
  int error = 0;
  if (!staged_.empty()) RemoveFile(staged_, error);
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
