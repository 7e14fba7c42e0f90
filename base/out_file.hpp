#pragma once
// A buffered output file. Every "\n" written becomes CR LF, so the run log and the drill
// file are byte-identical on every platform; the Gerber files never contain one.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace velmorta {

class OutFile {
 public:
  OutFile() = default;
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  OutFile(OutFile&& other) noexcept;
  OutFile& operator=(OutFile&& other) noexcept;
  ~OutFile() { Close(); }

  // Creates or empties the file. False when it cannot be created.
  bool Open(const std::string& path);

  // A file that keeps everything in memory; Text() returns it.
  static OutFile InMemory();

  void Put(std::string_view text);
  // head, the value as "%ld", tail: the shape of every coordinate and code command.
  void Put(std::string_view head, std::int32_t value, std::string_view tail);
  // head, a, middle, b, tail: a coordinate pair written as one command.
  void Put(std::string_view head, std::int32_t a, std::string_view middle, std::int32_t b, std::string_view tail);

  const std::string& Text() const;
  void Flush();
  void Close();

 private:
  static constexpr std::size_t kBufferSize = 1 << 16;
  // Commands whose literal parts are longer than this take the general path.
  static constexpr std::size_t kShortLiterals = 256;

  // Where n more bytes (at most kBufferSize) can be written.
  char* Room(std::size_t n);
  void Commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
  // Hands the buffered bytes to the file, or to the text of an in-memory file.
  void Drain() const;

  std::FILE* file_ = nullptr;
  bool inMemory_ = false;
  // The buffer is drained by Text() too, which changes nothing that can be observed.
  mutable std::unique_ptr<char[]> buffer_;
  mutable std::size_t used_ = 0;
  mutable std::string text_;  // an in-memory file's text
};

}  // namespace velmorta
