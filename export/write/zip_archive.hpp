#pragma once
// One archive to upload: a ZIP file whose entries are deflated by zlib. Each file is
// streamed from disk through the compressor, never held whole. Deflating costs more than
// writing the files, so it runs on a thread of its own while the next ones are written;
// when the system gives no thread, on the caller's, with the same bytes.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
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
  // Starts `thread` running `body`; replaceable so that a test can refuse it as a system
  // out of threads does (std::system_error).
  using StartThread = void (*)(std::thread& thread, std::function<void()> body);

  // Creates the archive at `path`; errors throw ExportError naming it.
  ZipArchive(const std::string& path, ZipTime time, StartThread start = nullptr);
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;
  // Without Finish the archive is abandoned: the deflating stops after its entry.
  ~ZipArchive();

  // The file at `path` as the next entry `name` (UTF-8), deflated on the archive's
  // thread: the file must not change until Finish. Throws the error of an earlier entry.
  void Add(const std::string& name, const std::string& path);
  // Waits for the entries, then writes the central directory; the archive is on the disk
  // when it returns. Throws the first error of any entry.
  void Finish();

 private:
  struct Entry {
    std::string name;
    std::uint32_t crc = 0;
    std::uint64_t compressed = 0, size = 0, offset = 0;
  };
  struct Pending {
    std::string name, path;
  };
  void Deflate();                      // the thread: the pending files in order
  void Store(const Pending& pending);  // one entry
  void RethrowFailure();
  void Write(const void* bytes, std::size_t count);
  [[noreturn]] void Fail(int error) const;

  std::string path_;
  FileHandle file_;
  std::uint16_t date_ = 0, time_ = 0;
  std::uint64_t written_ = 0;
  std::vector<Entry> entries_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Pending> pending_;  // guarded by mutex_, as are the two below
  bool closing_ = false;
  std::exception_ptr failure_;
  std::thread thread_;           // started last: it uses everything above; none: deflate in Add
};

}  // namespace velmorta::fab
