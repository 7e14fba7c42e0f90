#pragma once
// A buffered output file. Every "\n" written becomes CR LF, so the run log and the drill
// file are byte-identical on every platform; the Gerber files never contain one.
// The first failed write, flush or close is kept (sticky) with its errno, for the
// caller to check once where a failure must stop the run; later bytes are dropped.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "base/files.hpp"

namespace velmorta {

// Where a file hands its bytes as they are written, a buffer at a time: an in-memory
// file instead of keeping them (a reader that compares them with a file need not hold
// them), a file on the disk as well as writing them (an archive that takes them too
// need not read the file back).
class ByteSink {
 public:
  virtual void Write(std::string_view bytes) = 0;

 protected:
  ~ByteSink() = default;
};

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
  // Writes to a file opened elsewhere; `path` names it in messages.
  void Adopt(FileHandle file, std::string path);
  // Every byte written to the file from here goes to `observer` too, the last ones when
  // it is flushed or closed.
  void Tee(ByteSink& observer) { sink_ = &observer; }

  // A file that keeps everything in memory; Text() returns it.
  static OutFile InMemory();
  // A file whose bytes go to `sink`, the last ones when it is closed.
  static OutFile InMemory(ByteSink& sink);

  void Put(std::string_view text);
  // head, the value as "%ld", tail: the shape of every coordinate and code command.
  void Put(std::string_view head, std::int32_t value, std::string_view tail);
  // head, a, middle, b, tail: a coordinate pair written as one command.
  void Put(std::string_view head, std::int32_t a, std::string_view middle, std::int32_t b, std::string_view tail);

  // Bytes as another OutFile wrote them, their line ends already CR LF.
  void PutWritten(std::string_view bytes);

  const std::string& Text() const;
  void Flush();
  void Close();

  // The first failure, if any: its errno and what failed ("write", "flush", "close").
  bool Failed() const { return error_ != 0; }
  int Error() const { return error_; }
  std::string_view FailedStep() const { return failedStep_; }
  const std::string& Path() const { return path_; }
  std::FILE* Handle() const { return file_; }

 private:
  static constexpr std::size_t kBufferSize = 1 << 16;
  // Commands whose literal parts are longer than this take the general path.
  static constexpr std::size_t kShortLiterals = 256;

  // Where n more bytes (at most kBufferSize) can be written.
  char* Room(std::size_t n);
  void Commit(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }
  // Hands the buffered bytes to the file, or to the text of an in-memory file.
  void Drain() const;
  void Fail(std::string_view step) const;

  std::FILE* file_ = nullptr;
  std::string path_;
  mutable int error_ = 0;
  mutable std::string_view failedStep_;
  bool inMemory_ = false;
  ByteSink* sink_ = nullptr;  // the bytes go here too (in memory: instead), when given
  // The buffer is drained by Text() too, which changes nothing that can be observed.
  mutable std::unique_ptr<char[]> buffer_;
  mutable std::size_t used_ = 0;
  mutable std::string text_;  // an in-memory file's text
};

}  // namespace velmorta
