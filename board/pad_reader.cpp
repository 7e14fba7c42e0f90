#include "board/pad_reader.hpp"

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

std::int32_t FieldScanner::Coordinate(char delimiter) {
  return Wrap32(std::int64_t{ParseLeadingInt(Field(delimiter))} * 254);
}

std::int32_t FieldScanner::Code(char delimiter) { return ParseLeadingInt(Field(delimiter)); }

std::int32_t FieldScanner::HoleSize(char delimiter) {
  return Wrap32(std::int64_t{ParseLeadingInt(Field(delimiter))} * 10);
}

namespace {

enum class Section { None, Pitch, Type, Area, Parts, ThruHole, Hole, BottomLine, BottomFill, TopLine, TopFill };

Section SectionNamed(std::string_view name) {
  struct Named { std::string_view name; Section section; };
  static constexpr Named kSections[] = {
      {"Pitch", Section::Pitch},         {"Type", Section::Type},
      {"Area", Section::Area},           {"Parts", Section::Parts},
      {"ThruHole", Section::ThruHole},   {"Hole", Section::Hole},
      {"BottomLine", Section::BottomLine}, {"BottomFill", Section::BottomFill},
      {"TopLine", Section::TopLine},     {"TopFill", Section::TopFill},
  };
  for (const Named& s : kSections) {
    if (s.name == name) return s.section;
  }
  return Section::None;
}

constexpr char kComma = ',';
constexpr char kQuote = '"';
constexpr char kEnd = FieldScanner::kEndOfToken;

class PadReader {
 public:
  PadReader(const Settings& settings, OutputSet& out) : settings_(settings), out_(out) {}

  void Read(std::FILE* pad) {
    TokenReader tokens(pad);
    std::string_view token;
    while (tokens.Next(token)) {
      if (token == "***") {
        // At end of input there is no name; "***" names no section.
        std::string_view name = "***";
        (void)tokens.Next(name);
        EnterSection(name);
      } else {
        Record(token);
      }
    }
  }

  Board board;

 private:
  void EnterSection(std::string_view name) {
    section_ = SectionNamed(name);
    if (section_ == Section::Area) {
      out_[Output::Outline].Put("G71*G90*D02*");
    } else if (section_ == Section::Parts) {
      const std::int32_t tool = CodeOfEntry(settings_.ToolList, 9);
      out_[Output::Drill].Put("G90\nX0Y0\nT", tool, "\n");
      out_[Output::HoleDrawing].Put("G71*G90*D02*D", tool, "*D02*G01");
    }
  }

  void Record(std::string_view token) {
    FieldScanner f(token);
    switch (section_) {
      case Section::None: break;
      case Section::Pitch: Pitch(token); break;
      case Section::Type:
        if (token == "0" || token == "1") board.BoardType = token[0] - '0';
        break;
      case Section::Area: {
        Segment r;
        r.x1 = X(f.Coordinate(kComma), 0);
        r.y1 = Y(f.Coordinate(kComma), 0);
        r.x2 = X(f.Coordinate(kComma), 0);
        r.y2 = Y(f.Coordinate(kEnd), 0);
        board.AreaTable.Append(r);
        break;
      }
      case Section::Parts: {
        f.Skip(kQuote);
        f.Skip(kQuote);  // the part name, commas and all
        f.Skip(kComma);
        f.Skip(kComma);  // the second field
        board.PartsTable.Append(LandRecord(f));
        break;
      }
      case Section::ThruHole: board.ThruHoleTable.Append(LandRecord(f)); break;
      case Section::Hole: {
        Hole r;
        r.tool = CodeOfEntry(settings_.ToolList, 18);
        r.x = X(f.Coordinate(kComma), 1);
        r.y = Y(f.Coordinate(kComma), 1);
        r.diameter = f.HoleSize(kEnd);
        board.HoleTable.Append(r);
        break;
      }
      case Section::BottomLine: board.BottomLineTable.Append(LineRecord(f)); break;
      case Section::BottomFill: board.BottomFillTable.Append(FillRecord(f, kComma)); break;
      case Section::TopLine: board.TopLineTable.Append(LineRecord(f)); break;
      case Section::TopFill: board.TopFillTable.Append(FillRecord(f, kEnd)); break;
    }
  }

  void Pitch(std::string_view token) {
    if (token != "1" && token != "2") return;
    const int pitch = token[0] - '0';
    const std::int32_t line = CodeOfEntry(settings_.LineApertureList, pitch == 1 ? 7 : 1);
    const std::int32_t land = CodeOfEntry(settings_.LandApertureList, 4);
    out_[Output::BottomCopper].Put("G71*G90*D", line, "*D02*G01");
    out_[Output::TopCopper].Put("G71*G90*D", line, "*D02*G01");
    out_[Output::Lands1].Put("G71*G90*D02*D", land, "*D02*G01");
    out_[Output::Lands2].Put("G71*G90*D02*D", land, "*D02*G01");
    board.PitchMode = pitch;
  }

  Land LandRecord(FieldScanner& f) {
    Land r;
    r.x = X(f.Coordinate(kComma), 1);
    r.y = Y(f.Coordinate(kComma), 1);
    r.land1 = f.Code(kComma);
    r.land2 = f.Code(kEnd);
    return r;
  }

  Line LineRecord(FieldScanner& f) {
    Line r;
    r.x1 = X(f.Coordinate(kComma), 1);
    r.y1 = Y(f.Coordinate(kComma), 1);
    r.x2 = X(f.Coordinate(kComma), 1);
    r.y2 = Y(f.Coordinate(kComma), 1);
    r.width = f.Code(kEnd);
    return r;
  }

  // Bottom fills end their last field at a comma too; what follows it is ignored.
  Segment FillRecord(FieldScanner& f, char lastDelimiter) {
    Segment r;
    r.x1 = X(f.Coordinate(kComma), 1);
    r.y1 = Y(f.Coordinate(kComma), 1);
    r.x2 = X(f.Coordinate(kComma), 1);
    r.y2 = Y(f.Coordinate(lastDelimiter), 1);
    return r;
  }

  // The extents follow every coordinate as it is read; ties keep the earlier source.
  std::int32_t X(std::int32_t x, int source) {
    if (x < board.MinX) {
      board.MinX = x;
      board.MinXSource = source;
    }
    return x;
  }
  std::int32_t Y(std::int32_t y, int source) {
    if (y > board.MaxY) {
      board.MaxY = y;
      board.MaxYSource = source;
    }
    return y;
  }

  const Settings& settings_;
  OutputSet& out_;
  Section section_ = Section::None;
};

}  // namespace

Board ReadPadFile(std::FILE* pad, const Settings& settings, OutputSet& out) {
  PadReader reader(settings, out);
  reader.Read(pad);
  return std::move(reader.board);
}

}  // namespace velmorta
