#pragma once
// A buffered output file. Every "\n" written becomes CR LF, so the run log and the drill
// file are byte-identical on every platform; the Gerber files never contain one.

#include <cstdint>
#include <cstdio>
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

  const std::string& Text() const { return pending_; }
  void Flush();
  void Close();

 private:
  void MaybeFlush();

  std::FILE* file_ = nullptr;
  bool inMemory_ = false;
  std::string pending_;
};

}  // namespace velmorta
