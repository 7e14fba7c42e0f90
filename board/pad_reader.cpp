#include "board/pad_reader.hpp"

#include <array>
#include <string>

#include "base/fatal.hpp"
#include "base/files.hpp"
#include "base/numbers.hpp"
#include "board/token_reader.hpp"

namespace velmorta {

std::string_view FieldScanner::Field(char delimiter) {
  const std::size_t start = pos_;
  if (delimiter == kEndOfToken) {
    pos_ = token_.size();
    return token_.substr(start);
  }
  // Fields are a few characters long: a plain scan beats a library search.
  std::size_t at = start;
  while (at < token_.size() && token_[at] != delimiter) ++at;
  pos_ = at < token_.size() ? at + 1 : at;
  return token_.substr(start, at - start);
}

std::int32_t FieldScanner::Number(std::string_view field) {
  // Tokens hold no white space, so a number starts at once: a sign, then a digit.
  const std::size_t digit = !field.empty() && (field[0] == '+' || field[0] == '-') ? 1 : 0;
  if (!firstNonNumber_ && (digit >= field.size() || field[digit] < '0' || field[digit] > '9')) {
    firstNonNumber_ = numbers_;
  }
  ++numbers_;
  return ParseLeadingInt(field);
}

std::int32_t FieldScanner::Coordinate(char delimiter) {
  return Wrap32(std::int64_t{Number(Field(delimiter))} * 254);
}

std::int32_t FieldScanner::Code(char delimiter) { return Number(Field(delimiter)); }

std::int32_t FieldScanner::HoleSize(char delimiter) {
  return Wrap32(std::int64_t{Number(Field(delimiter))} * 10);
}

namespace {

enum class Section { None, Pitch, Type, Area, Parts, ThruHole, Hole, BottomLine, BottomFill, TopLine, TopFill };

struct Named {
  std::string_view name;
  Section section;
  std::array<std::string_view, 5> fields;  // the numeric fields, in order
};
constexpr Named kSections[] = {
    {"Pitch", Section::Pitch, {}},
    {"Type", Section::Type, {}},
    {"Area", Section::Area, {"x1", "y1", "x2", "y2"}},
    {"Parts", Section::Parts, {"x", "y", "land1", "land2"}},
    {"ThruHole", Section::ThruHole, {"x", "y", "land1", "land2"}},
    {"Hole", Section::Hole, {"x", "y", "diameter"}},
    {"BottomLine", Section::BottomLine, {"x1", "y1", "x2", "y2", "width"}},
    {"BottomFill", Section::BottomFill, {"x1", "y1", "x2", "y2"}},
    {"TopLine", Section::TopLine, {"x1", "y1", "x2", "y2", "width"}},
    {"TopFill", Section::TopFill, {"x1", "y1", "x2", "y2"}},
};

Section SectionNamed(std::string_view name) {
  for (const Named& s : kSections) {
    if (s.name == name) return s.section;
  }
  return Section::None;
}

const Named& About(Section section) { return kSections[static_cast<std::size_t>(section) - 1]; }

constexpr char kComma = ',';
constexpr char kQuote = '"';
constexpr char kEnd = FieldScanner::kEndOfToken;

class PadReader {
 public:
  PadReader(const Settings& settings, OutputSet& out, Diagnostics& diagnostics, bool keepRecords)
      : settings_(settings), out_(out), diagnostics_(diagnostics), keepRecords_(keepRecords) {}

  void Read(std::FILE* pad) {
    TokenReader tokens(pad);
    std::string_view token;
    while (tokens.Next(token)) {
      if (token == "***") {
        ++sections_;
        std::string_view name;
        if (tokens.Next(name)) {
          EnterSection(name);
        } else if (tokens.Error() == 0) {
          EndUnknownSection();
          diagnostics_.Warn(Warning::UnknownSection, [](Language l) { return Say(l, Text::SectionAtEnd); });
        }
      } else {
        Record(token);
      }
    }
    if (tokens.Error() != 0) {
      throw FatalStop{Message::CannotOpenFile, true,
                      diagnostics_.Say(Text::ReadFailed, {{"file", diagnostics_.Name(diagnostics_.PadFile())},
                                                          {"reason", ReasonText(tokens.Error())}})};
    }
    EndUnknownSection();
    WarnOfEndedTables();
    if (board.PitchMode == PitchMode::None) {
      diagnostics_.Warn(Warning::NoPitch, [](Language l) { return Say(l, Text::NoPitch); });
    }
  }

  Board board;

 private:
  void EnterSection(std::string_view name) {
    EndUnknownSection();
    section_ = SectionNamed(name);
    if (section_ == Section::None) unknown_ = Unknown{Quoted(name), sections_, 0};
    if (section_ == Section::Area) {
      out_[Output::Outline].Put("G71*G90*D02*");
    } else if (section_ == Section::Parts) {
      const std::int32_t tool = CodeOfEntry(settings_.ToolList, kDrillHeaderEntry);
      out_[Output::Drill].Put("G90\nX0Y0\nT", tool, "\n");
      out_[Output::HoleDrawing].Put("G71*G90*D02*D", tool, "*D02*G01");
    }
  }

  void Record(std::string_view token) {
    FieldScanner f(token);
    switch (section_) {
      case Section::None:
        if (unknown_) ++unknown_->tokens;
        break;
      case Section::Pitch: Pitch(token); break;
      case Section::Type:
        if (token == "0") board.BoardType = BoardType::SingleSided;
        if (token == "1") board.BoardType = BoardType::DoubleSided;
        break;
      case Section::Area: {
        Segment r;
        r.x1 = X(f.Coordinate(kComma), ExtentSource::Outline);
        r.y1 = Y(f.Coordinate(kComma), ExtentSource::Outline);
        r.x2 = X(f.Coordinate(kComma), ExtentSource::Outline);
        r.y2 = Y(f.Coordinate(kEnd), ExtentSource::Outline);
        Append(board.AreaTable, r, token);
        break;
      }
      case Section::Parts: {
        f.Skip(kQuote);
        f.Skip(kQuote);  // the part name, commas and all
        f.Skip(kComma);
        f.Skip(kComma);  // the second field
        Append(board.PartsTable, LandRecord(f), token);
        break;
      }
      case Section::ThruHole: Append(board.ThruHoleTable, LandRecord(f), token); break;
      case Section::Hole: {
        Hole r;
        r.tool = CodeOfEntry(settings_.ToolList, kHoleToolEntry);
        r.x = X(f.Coordinate(kComma), ExtentSource::OtherSection);
        r.y = Y(f.Coordinate(kComma), ExtentSource::OtherSection);
        r.diameter = f.HoleSize(kEnd);
        Append(board.HoleTable, r, token);
        break;
      }
      case Section::BottomLine: Append(board.BottomLineTable, LineRecord(f), token); break;
      case Section::BottomFill: Append(board.BottomFillTable, FillRecord(f, kComma), token); break;
      case Section::TopLine: Append(board.TopLineTable, LineRecord(f), token); break;
      case Section::TopFill: Append(board.TopFillTable, FillRecord(f, kEnd), token); break;
    }
    if (const auto field = f.FirstNonNumber()) {
      const Named& about = About(section_);
      diagnostics_.Warn(Warning::NotANumber, [&](Language l) {
        return Say(l, Text::NotANumber,
                   {{"section", std::string(about.name)},
                    {"record", std::to_string(records_)},
                    {"token", Quoted(token)},
                    {"field", std::string(about.fields[*field])}});
      });
    }
  }

  // Stores a record and notes where its table first ends, for the warning at the end.
  template <class Record>
  void Append(Table<Record>& table, const Record& record, std::string_view token) {
    if (!keepRecords_) return;
    const bool endedBefore = table.Visible().size() < table.Stored().size();
    table.Append(record);
    records_ = table.Stored().size();
    if (!endedBefore && table.Visible().size() < records_) {
      ends_[static_cast<std::size_t>(section_)] = End{records_, Quoted(token), record == Record{}};
    }
  }

  // A record whose first field is 0 ends its table and hides the records after it: a
  // board drawn from the origin loses them. A blank last record is a plain end marker.
  void WarnOfEndedTables() {
    const auto stored = [this](Section section) {
      switch (section) {
        case Section::Area: return board.AreaTable.Stored().size();
        case Section::Parts: return board.PartsTable.Stored().size();
        case Section::ThruHole: return board.ThruHoleTable.Stored().size();
        case Section::Hole: return board.HoleTable.Stored().size();
        case Section::BottomLine: return board.BottomLineTable.Stored().size();
        case Section::BottomFill: return board.BottomFillTable.Stored().size();
        case Section::TopLine: return board.TopLineTable.Stored().size();
        case Section::TopFill: return board.TopFillTable.Stored().size();
        default: return std::size_t{0};
      }
    };
    for (std::size_t s = 0; s < ends_.size(); ++s) {
      if (!ends_[s]) continue;
      const End& end = *ends_[s];
      const Section section = static_cast<Section>(s);
      const std::size_t hidden = stored(section) - end.record + 1;
      if (hidden == 1 && end.blank) continue;
      diagnostics_.Warn(Warning::HiddenRecords, [&](Language l) {
        const std::string ignored =
            hidden == 1 ? Say(l, Text::RecordIgnored) : Say(l, Text::RecordsIgnored, {{"count", std::to_string(hidden)}});
        return Say(l, section == Section::Hole ? Text::HoleRecordEndsTable : Text::RecordEndsTable,
                   {{"section", std::string(About(section).name)},
                    {"record", std::to_string(end.record)},
                    {"token", end.token},
                    {"ignored", ignored}});
      });
    }
  }

  void EndUnknownSection() {
    if (!unknown_) return;
    diagnostics_.Warn(Warning::UnknownSection, [&](Language l) {
      const std::string skipped =
          unknown_->tokens == 0   ? Say(l, Text::SectionHoldsNothing)
          : unknown_->tokens == 1 ? Say(l, Text::SectionTokenSkipped)
                                  : Say(l, Text::SectionTokensSkipped, {{"count", std::to_string(unknown_->tokens)}});
      return Say(l, Text::UnknownSectionName,
                 {{"name", unknown_->name}, {"section", std::to_string(unknown_->section)}, {"skipped", skipped}});
    });
    unknown_.reset();
  }

  void Pitch(std::string_view token) {
    if (token != "1" && token != "2") return;
    const PitchMode pitch = token == "1" ? PitchMode::One : PitchMode::Two;
    const std::size_t lineEntry = pitch == PitchMode::One ? kCopperHeaderEntryPitch1 : kCopperHeaderEntryPitch2;
    const std::int32_t line = CodeOfEntry(settings_.LineApertureList, lineEntry);
    const std::int32_t land = CodeOfEntry(settings_.LandApertureList, kLandHeaderEntry);
    out_[Output::BottomCopper].Put("G71*G90*D", line, "*D02*G01");
    out_[Output::TopCopper].Put("G71*G90*D", line, "*D02*G01");
    out_[Output::Lands1].Put("G71*G90*D02*D", land, "*D02*G01");
    out_[Output::Lands2].Put("G71*G90*D02*D", land, "*D02*G01");
    board.PitchMode = pitch;
  }

  Land LandRecord(FieldScanner& f) {
    Land r;
    r.x = X(f.Coordinate(kComma), ExtentSource::OtherSection);
    r.y = Y(f.Coordinate(kComma), ExtentSource::OtherSection);
    r.land1 = f.Code(kComma);
    r.land2 = f.Code(kEnd);
    return r;
  }

  Line LineRecord(FieldScanner& f) {
    Line r;
    r.x1 = X(f.Coordinate(kComma), ExtentSource::OtherSection);
    r.y1 = Y(f.Coordinate(kComma), ExtentSource::OtherSection);
    r.x2 = X(f.Coordinate(kComma), ExtentSource::OtherSection);
    r.y2 = Y(f.Coordinate(kComma), ExtentSource::OtherSection);
    r.width = f.Code(kEnd);
    return r;
  }

  // Bottom fills end their last field at a comma too; what follows it is ignored.
  Segment FillRecord(FieldScanner& f, char lastDelimiter) {
    Segment r;
    r.x1 = X(f.Coordinate(kComma), ExtentSource::OtherSection);
    r.y1 = Y(f.Coordinate(kComma), ExtentSource::OtherSection);
    r.x2 = X(f.Coordinate(kComma), ExtentSource::OtherSection);
    r.y2 = Y(f.Coordinate(lastDelimiter), ExtentSource::OtherSection);
    return r;
  }

  // The extents follow every coordinate as it is read; ties keep the earlier source.
  std::int32_t X(std::int32_t x, ExtentSource source) {
    if (x < board.MinX) {
      board.MinX = x;
      board.MinXSource = source;
    }
    return x;
  }
  std::int32_t Y(std::int32_t y, ExtentSource source) {
    if (y > board.MaxY) {
      board.MaxY = y;
      board.MaxYSource = source;
    }
    return y;
  }

  const Settings& settings_;
  OutputSet& out_;
  Diagnostics& diagnostics_;
  bool keepRecords_;
  Section section_ = Section::None;
  std::size_t sections_ = 0;  // "***" tokens so far
  std::size_t records_ = 0;   // the number of the last record stored in its table

  struct Unknown {
    std::string name;  // quoted
    std::size_t section;
    std::size_t tokens;
  };
  std::optional<Unknown> unknown_;  // the section being skipped, if it has a name

  struct End {
    std::size_t record;  // numbered from 1 in its table
    std::string token;   // quoted
    bool blank;          // every field 0
  };
  std::array<std::optional<End>, 11> ends_;  // by Section
};

}  // namespace

Board ReadPadFile(std::FILE* pad, const Settings& settings, OutputSet& out, Diagnostics& diagnostics) {
  PadReader reader(settings, out, diagnostics, true);
  reader.Read(pad);
  return std::move(reader.board);
}

Board ReadPadExtents(std::FILE* pad, const Settings& settings, Diagnostics& diagnostics) {
  OutputSet discarded;  // files never opened: the headers go nowhere
  PadReader reader(settings, discarded, diagnostics, false);
  reader.Read(pad);
  return std::move(reader.board);
}

}  // namespace velmorta
