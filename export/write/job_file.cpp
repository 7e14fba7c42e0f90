#include "export/write/job_file.hpp"

#include "base/text_encoding.hpp"
#include "export/model/decimal.hpp"
#include "export/write/fab_writers.hpp"

namespace velmorta::fab {

std::string JsonString(std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string WriteJobFile(const std::vector<const FabLayer*>& layers, int copperLayers,
                         const geometry::Extents& board, const std::optional<std::string>& creationDate) {
  const std::string_view software = GenerationSoftware();
  const std::size_t comma1 = software.find(','), comma2 = software.find(',', comma1 + 1);
  std::string out = "{\n";
  out += "  \"Header\": {\n";
  out += "    \"GenerationSoftware\": {\n";
  out += "      \"Vendor\": " + JsonString(software.substr(0, comma1)) + ",\n";
  out += "      \"Application\": " + JsonString(software.substr(comma1 + 1, comma2 - comma1 - 1)) + ",\n";
  out += "      \"Version\": " + JsonString(software.substr(comma2 + 1)) + "\n";
  out += "    }";
  if (creationDate) out += ",\n    \"CreationDate\": " + JsonString(*creationDate);
  out += "\n  },\n";
  out += "  \"GeneralSpecs\": {\n";
  if (!board.empty) {
    out += "    \"Size\": {\n";
    out += "      \"X\": " + FormatDecimal(board.Width(), 3) + ",\n";
    out += "      \"Y\": " + FormatDecimal(board.Height(), 3) + "\n";
    out += "    },\n";
  }
  out += "    \"LayerNumber\": " + std::to_string(copperLayers) + "\n";
  out += "  },\n";
  out += "  \"FilesAttributes\": [\n";
  for (std::size_t i = 0; i < layers.size(); ++i) {
    const FabLayer& layer = *layers[i];
    out += "    {\n";
    out += "      \"Path\": " + JsonString(SystemTextToUtf8(layer.name)) + ",\n";
    out += "      \"FileFunction\": " + JsonString(FileFunctionText(layer, copperLayers)) + ",\n";
    out += "      \"FilePolarity\": " + JsonString(PolarityText(layer.polarity)) + "\n";
    out += i + 1 < layers.size() ? "    },\n" : "    }\n";
  }
  out += "  ]\n";
  out += "}\n";
  return out;
}

}  // namespace velmorta::fab
