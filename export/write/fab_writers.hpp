#pragma once
// The writers of the board house's files: RS-274X for images, Excellon for drills. Each
// takes a layer's features as they come and streams its text to an output file; what
// it numbered and how often it was used is kept for the aperture table.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "base/out_file.hpp"
#include "export/model/features.hpp"

namespace velmorta::fab {

// What every file of a set states about itself.
struct Heading {
  std::string title;                        // UTF-8, the first comment
  std::optional<std::string> creationDate;  // ISO 8601, only when asked for
};

// "velmorta,velmorta-export,1.0.0": vendor, application, version.
std::string_view GenerationSoftware();

// Coordinates are written in 0.000001 mm, so every 0.001 mm value is exact.
inline constexpr std::string_view kFormatStatement = "%FSLAX46Y46*%";

// An aperture or tool as exported, and the converter code it came from.
struct ApertureUse {
  std::int32_t number = 0;  // D or T
  std::int64_t diameter = 0;
  AperFunction function = AperFunction::None;
  Output file{};
  std::int32_t code = 0;
  CodeSize size;
  std::int64_t uses = 0;  // strokes, flashes or hits
};

class GerberWriter final : public FeatureSink {
 public:
  // Writes the header: the title, the file attributes, format and units.
  GerberWriter(OutFile& out, const FabLayer& layer, int copperLayers, const Heading& heading,
               const SourceFiles& sources);
  // A coordinate beyond the four integer digits of the format is an error naming the
  // converter file and the offset of its command.
  void Add(const Feature& feature) override;
  void Finish();

  const std::vector<ApertureUse>& Uses() const { return uses_; }

 private:
  std::int32_t Aperture(const Feature& feature);
  void Coordinates(const Feature& feature, geometry::Point at, std::string_view operation);

  OutFile& out_;
  const SourceFiles& sources_;
  std::map<std::pair<AperFunction, std::int64_t>, std::int32_t> numbers_;
  std::map<std::tuple<Output, std::int32_t, AperFunction>, std::size_t> useIndex_;
  std::vector<ApertureUse> uses_;
  std::size_t lastUse_ = 0;
  bool haveLast_ = false;
  std::int32_t selected_ = 0;
  std::optional<geometry::Point> at_;
};

class ExcellonWriter final : public FeatureSink {
 public:
  // Writes the header with the diameter of every tool of `tools` (converter codes).
  ExcellonWriter(OutFile& out, const FabLayer& layer, int copperLayers, const Heading& heading,
                 const std::set<std::int32_t>& tools, const Settings& settings, const SourceFiles& sources);
  void Add(const Feature& feature) override;
  void Finish();

  const std::vector<ApertureUse>& Uses() const { return uses_; }

 private:
  OutFile& out_;
  std::map<std::int32_t, std::size_t> useIndex_;  // by converter code
  std::vector<ApertureUse> uses_;
  std::int32_t selected_ = 0;
};

// Text for a Gerber comment or attribute: UTF-8 kept, the characters that would end or
// break a block written as \uXXXX, so nothing is lost.
std::string GerberText(std::string_view utf8);

}  // namespace velmorta::fab
