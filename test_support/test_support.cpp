#include "test_support/test_support.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iconv.h>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "base/fatal.hpp"
#include "board/pad_reader.hpp"
#include "config/config_reader.hpp"
#include "driver/run.hpp"
#include "emit/emit_layers.hpp"

namespace velmorta::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velmorta-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

std::string Iconv(std::string_view text, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::vector<char> input(text.begin(), text.end());
  std::string output(text.size() * 4 + 16, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size(), outLeft = output.size();
  const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("iconv failed");
  output.resize(output.size() - outLeft);
  return output;
}

std::FILE* TempStream(std::string_view bytes) {
  std::FILE* file = std::tmpfile();
  if (file == nullptr) throw std::runtime_error("tmpfile failed");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  return file;
}

}  // namespace

std::string ToShiftJis(std::string_view utf8) { return Iconv(utf8, "SHIFT_JIS", "UTF-8"); }
std::string FromShiftJis(std::string_view sjis) { return Iconv(sjis, "UTF-8", "SHIFT_JIS"); }

Conversion Convert(std::string_view configuration, std::string_view pad) {
  Conversion result;
  std::ostringstream errors;
  Diagnostics diagnostics(&errors, "b.pad", "velmorta.cfg");
  const Settings settings = ParseConfiguration(configuration, diagnostics);
  OutputSet out = OutputSet::InMemory();
  OutFile runLog = OutFile::InMemory();
  std::FILE* padFile = TempStream(pad);
  try {
    const Board board = ReadPadFile(padFile, settings, out, diagnostics);
    EmitLayers(board, settings, out, diagnostics);
    WriteCompletion(runLog);
  } catch (const FatalStop& stop) {
    result.fatal = stop.message;
  }
  diagnostics.Finish();
  result.errors = errors.str();
  std::fclose(padFile);
  for (int n = 1; n <= 7; ++n) result.out[static_cast<std::size_t>(n)] = out[static_cast<Output>(n)].Text();
  result.runLog = runLog.Text();
  return result;
}

RunResult RunWithArgs(const TempDir& dir, std::initializer_list<const char*> args) {
  std::ostringstream console, errors;
  RunResult result;
  result.status =
      RunDriver(std::span<const char* const>(args.begin(), args.size()), dir / "velmorta", console, errors);
  result.console = console.str();
  result.errors = errors.str();
  return result;
}

RunResult RunInDir(const TempDir& dir, std::string_view base) {
  const std::string basePath = dir / base;
  return RunWithArgs(dir, {"velmorta", basePath.c_str()});
}

namespace {
// Spelled out rather than produced by the converter, so a change to it shows.
const std::string kBanner =
    "\r\n\r\n\r\n--------------------------------\r\n"
    "velmorta " VELMORTA_VERSION "\r\n"
    "--------------------------------\r\n";
}  // namespace

std::string FatalRunLog(Message message) {
  return "*** Message\r\n<ERROR>\r\n" + std::string(Bytes(message)) + kBanner;
}

std::string SuccessRunLog() {
  return "*** Message\r\n" + std::string(Bytes(Message::ConversionComplete)) + "\r\n" + kBanner;
}

int ConvertExample(const TempDir& dir, std::string_view pad) {
  std::string configuration = ReadFile(VELMORTA_SOURCE_DIR "/examples/velmorta.cfg");
  const std::size_t directory = configuration.find("\n>g ");
  if (directory == std::string::npos) throw std::runtime_error("the example configuration has no >g line");
  const std::size_t end = configuration.find('\n', directory + 1);
  configuration.replace(directory + 1, end - directory - 1, ">g " + dir.path().string());
  WriteFile(dir / "velmorta.cfg", configuration);
  WriteFile(dir / "board.pad", ReadFile(VELMORTA_SOURCE_DIR "/examples/" + std::string(pad)));
  return RunInDir(dir, "board").status;
}

}  // namespace velmorta::testing

namespace velmorta::testing {

std::FILE* OpenTempStream(std::string_view bytes) { return TempStream(bytes); }

}  // namespace velmorta::testing

namespace velmorta::testing {

std::string EmissionConfig(std::string_view apertureMode, std::string_view auxLandMode, std::string_view extra,
                           std::string_view tools) {
  std::string text = ">";
  text.append(apertureMode).append("\n>").append(auxLandMode).append("\n");
  text +=
      ">D0.3 103\n>D0.4 104\n>D0.5 105\n>D0.6 106\n>D0.8 108\n>D1.0 110\n>D1.2 112\n>D1.4 114\n>D1.6 116\n"
      ">R1.64 21\n>R2.00 22\n>R2.24 23\n"
      ">l1 0.8\n>l2 0.4\n>r1 1.64\n>r2 1.64\n>d1 0.8\n>d2 0.8\n>h1 1.2\n>h2 0.8\n>j1 1.0\n>j2 0.5\n";
  text += tools;
  text += extra;
  return text;
}

Conversion EmitBoard(std::string_view configuration, const Board& board) {
  return EmitBoard(ParseConfiguration(configuration), board);
}

Conversion EmitBoard(const Settings& settings, const Board& board) {
  Conversion result;
  OutputSet out = OutputSet::InMemory();
  OutFile runLog = OutFile::InMemory();
  std::ostringstream errors;
  Diagnostics diagnostics(&errors, "b.pad", "velmorta.cfg");
  try {
    EmitLayers(board, settings, out, diagnostics);
    WriteCompletion(runLog);
  } catch (const FatalStop& stop) {
    result.fatal = stop.message;
  }
  diagnostics.Finish();
  result.errors = errors.str();
  for (int n = 1; n <= 7; ++n) result.out[static_cast<std::size_t>(n)] = out[static_cast<Output>(n)].Text();
  result.runLog = runLog.Text();
  return result;
}

namespace {
constexpr std::int32_t kFrameMaxY = 10000;
}

Board FramedBoard(int pitch, int boardType) {
  Board board;
  board.MinX = 0;
  board.MaxY = kFrameMaxY;
  board.PitchMode = pitch;
  board.BoardType = boardType;
  return board;
}

Line OutLine(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2, std::int32_t width) {
  return {X1, kFrameMaxY - Y1, X2, kFrameMaxY - Y2, width};
}
Land OutLand(std::int32_t X, std::int32_t Y, std::int32_t land1, std::int32_t land2) {
  return {X, kFrameMaxY - Y, land1, land2};
}
Hole OutHole(std::int32_t X, std::int32_t Y, std::int32_t diameter) { return {1, X, kFrameMaxY - Y, diameter}; }
Segment OutSegment(std::int32_t X1, std::int32_t Y1, std::int32_t X2, std::int32_t Y2) {
  return {X1, kFrameMaxY - Y1, X2, kFrameMaxY - Y2};
}

}  // namespace velmorta::testing
