#include "export/bound_conversion.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "base/diagnostics.hpp"
#include "base/fatal.hpp"
#include "base/files.hpp"
#include "base/output_set.hpp"
#include "driver/conversion.hpp"
#include "emit/emit_layers.hpp"
#include "export/read/export_error.hpp"
#include "export/read/last_conversion.hpp"

namespace velmorta::fab {
namespace {

// One file on the disk compared with the bytes the conversion makes of it, a buffer at
// a time; the first difference is kept.
class FileComparison final : public ByteSink {
 public:
  explicit FileComparison(const std::string& path) : file_(OpenForReading(path, error_)) {}

  void Write(std::string_view bytes) override {
    if (!Same()) return;
    if (chunk_.size() < bytes.size()) chunk_.resize(bytes.size());
    errno = 0;
    const std::size_t read = std::fread(chunk_.data(), 1, bytes.size(), file_.get());
    Compare(bytes, std::string_view(chunk_.data(), read));
  }

  // Once the conversion has written its last byte: the file must end there too.
  void Finish() {
    if (!Same()) return;
    errno = 0;
    if (std::fgetc(file_.get()) != EOF) differsAt_ = offset_;
    if (std::ferror(file_.get()) != 0) error_ = errno != 0 ? errno : EIO;
  }

  bool Same() const { return file_ && error_ == 0 && !differsAt_; }
  int Error() const { return error_; }
  std::optional<std::uint64_t> DiffersAt() const { return differsAt_; }

 private:
  void Compare(std::string_view expected, std::string_view found) {
    if (std::ferror(file_.get()) != 0) {
      error_ = errno != 0 ? errno : EIO;
      return;
    }
    const auto mismatch = std::mismatch(found.begin(), found.end(), expected.begin());
    const auto same = static_cast<std::uint64_t>(mismatch.first - found.begin());
    if (found.size() != expected.size() || same != found.size()) differsAt_ = offset_ + same;
    offset_ += expected.size();
  }

  int error_ = 0;
  FileHandle file_;
  std::vector<char> chunk_;
  std::uint64_t offset_ = 0;
  std::optional<std::uint64_t> differsAt_;
};

// The seven comparisons as the converter's output set.
struct Comparisons {
  std::array<std::unique_ptr<FileComparison>, 7> files;
  OutputSet out;

  explicit Comparisons(const std::array<std::string, 7>& paths) {
    for (const Output which : kOutputs) {
      files[IndexOf(which)] = std::make_unique<FileComparison>(paths[IndexOf(which)]);
      out[which] = OutFile::InMemory(*files[IndexOf(which)]);
    }
  }
};

// What to do about any file that is not this board's conversion.
void RefuseDifferences(const Comparisons& compared, const std::array<std::string, 7>& paths,
                       const std::string& base, const std::string& padPath, const Settings& settings) {
  for (const Output which : kOutputs) {
    const FileComparison& file = *compared.files[IndexOf(which)];
    const std::string& path = paths[IndexOf(which)];
    if (file.Error() != 0) {
      throw ExportError(Text::CannotReadOutputFile, {{"number", std::to_string(static_cast<int>(which))},
                                                     {"file", path},
                                                     {"reason", ReasonText(file.Error())},
                                                     {"base", base}});
    }
    if (file.DiffersAt()) {
      throw ExportError(Text::NotWhatVelmortaMakes, {{"file", path},
                                                     {"pad", padPath},
                                                     {"configuration", settings.FileName},
                                                     {"byte", std::to_string(*file.DiffersAt())},
                                                     {"base", base}});
    }
  }
}

}  // namespace

BoundConversion BindToConversion(const std::string& base, const Settings& settings,
                                 const std::array<std::string, 7>& paths) {
  const std::string padPath = base + ".pad";
  if (!Exists(padPath)) {
    CheckLastConversion(base, paths);
    return {};
  }
  int error = 0;
  const FileHandle pad = OpenForReading(padPath, error);
  if (!pad) throw ExportError(Text::CannotReadPad, {{"file", padPath}, {"reason", ReasonText(error)}});
  Comparisons compared(paths);
  Board board;
  try {
    Diagnostics silent(nullptr, padPath, settings.FileName);  // the conversion told the user already
    board = Convert(pad.get(), settings, compared.out, silent);
  } catch (const FatalStop& stop) {
    const Part::Told reason = [stop, file = settings.FileName](Language language) {
      return ReasonOf(stop, file, language);
    };
    throw ExportError(Text::VelmortaStops, {{"file", padPath}, {"reason", reason}, {"base", base}});
  }
  compared.out.CloseAll();  // the last bytes to their comparisons
  for (const auto& file : compared.files) file->Finish();
  RefuseDifferences(compared, paths, base, padPath, settings);
  return {true, board.DoubleSided(), check::PadFrame{board.MinX, board.MaxY, AdjustedMargin(board, settings)}};
}

}  // namespace velmorta::fab
