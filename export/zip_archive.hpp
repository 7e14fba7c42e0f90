#pragma once
// One archive to upload: a ZIP file whose entries are deflated by zlib. Each file is
// streamed from disk through the compressor, never held whole.

#include <cstdint>
#include <string>
#include <vector>

#include "base/files.hpp"

namespace velmorta::fab {

// The MS-DOS date and time of ZIP entries. The default, 1980-01-01 00:00, the format's
// first moment, keeps archives of the same set byte-identical.
struct ZipTime {
  int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class ZipArchive {
 public:
  // Creates the archive at `path`; errors throw ExportError naming it.
  ZipArchive(const std::string& path, ZipTime time);
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // The file at `path` as the entry `name` (UTF-8).
  void Add(const std::string& name, const std::string& path);
  // The central directory; the archive is on the disk when it returns.
  void Finish();

 private:
  struct Entry {
    std::string name;
    std::uint32_t crc = 0;
    std::uint64_t compressed = 0, size = 0, offset = 0;
  };
  void Write(const void* bytes, std::size_t count);
  [[noreturn]] void Fail(int error) const;

  std::string path_;
  FileHandle file_;
  std::uint16_t date_ = 0, time_ = 0;
  std::uint64_t written_ = 0;
  std::vector<Entry> entries_;
};

}  // namespace velmorta::fab
