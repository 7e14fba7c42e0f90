#include "export/export_board.hpp"

#include <optional>
#include <set>

#include "base/files.hpp"
#include "export/aperture_report.hpp"
#include "export/code_table.hpp"
#include "export/excellon_writer.hpp"
#include "export/export_error.hpp"
#include "export/rs274x_writer.hpp"
#include "export/svg_preview.hpp"

namespace velmorta::fab {
namespace {

// Painted bottom up: copper, lands, outline, then the holes on top.
constexpr Output kPaintOrder[] = {Output::BottomCopper, Output::TopCopper, Output::Lands1, Output::Lands2,
                                  Output::Outline,      Output::HoleDrawing, Output::Drill};

std::string FileName(const std::string& path) { return std::string(FileNameOf(path)); }

std::string Title(Output file, const std::string& path) {
  return std::string(TraitsOf(file).role) + ", exported from " + FileName(path) +
         " by velmorta-export " VELMORTA_VERSION;
}

}  // namespace

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

std::string FabPath(const std::string& sourcePath) {
  const std::size_t nameStart = NameStart(sourcePath);
  const std::size_t dot = sourcePath.rfind('.');
  const std::size_t split = dot == std::string::npos || dot <= nameStart ? sourcePath.size() : dot;
  return sourcePath.substr(0, split) + "_fab" + sourcePath.substr(split);
}

std::vector<FileText> ExportBoard(const Settings& settings, const SevenFiles& paths, const SevenFiles& texts,
                                  std::string_view boardName) {
  std::array<std::optional<GerberProgram>, 8> gerber;
  std::optional<DrillProgram> drill;
  std::array<CodeTable, 8> codes;
  std::array<Shapes, 8> shapes;
  std::vector<FileText> files;
  for (int n = 1; n <= 7; ++n) {
    const auto file = static_cast<Output>(n);
    const std::string& path = paths[static_cast<std::size_t>(n - 1)];
    const std::string& text = texts[static_cast<std::size_t>(n - 1)];
    if (file == Output::Drill) {
      drill = ReadDrill(text, path);
      codes[n] = DrillCodes(*drill, settings, path);
      shapes[n] = DrillShapes(*drill, codes[n]);
      files.push_back({FabPath(path), WriteExcellon(*drill, codes[n], Title(file, path))});
    } else {
      gerber[n] = ReadGerber(text, file, path);
      codes[n] = GerberCodes(*gerber[n], settings, file, path);
      shapes[n] = GerberShapes(*gerber[n], codes[n]);
      files.push_back({FabPath(path), WriteRs274x(*gerber[n], codes[n], Title(file, path), path)});
    }
  }

  std::vector<ReportLayer> report;
  for (int n = 1; n <= 7; ++n) {
    report.push_back({static_cast<Output>(n), FileName(paths[static_cast<std::size_t>(n - 1)]), &codes[n]});
  }
  const std::string board(boardName);
  files.push_back({JoinOutputPath(settings, board + "_apertures.csv"), WriteReport(report)});

  std::vector<PreviewLayer> layers;
  for (const Output file : kPaintOrder) {
    const int n = static_cast<int>(file);
    layers.push_back({"layer-" + std::to_string(n),
                      FileName(paths[static_cast<std::size_t>(n - 1)]) + ": " + std::string(TraitsOf(file).role),
                      std::string(TraitsOf(file).colour),
                      shapes[n]});
  }
  files.push_back({JoinOutputPath(settings, board + "_preview.svg"), WriteSvgPreview(layers, board)});

  // Never over the converter's own files, nor one export over another.
  std::set<std::string> taken(paths.begin(), paths.end());
  for (const FileText& file : files) {
    if (!taken.insert(file.path).second || !taken.insert(TemporaryPath(file.path)).second) {
      throw ExportError(file.path + ": this name is taken by another file of the board; rename the output files");
    }
  }
  return files;
}

}  // namespace velmorta::fab
