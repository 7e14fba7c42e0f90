#pragma once
// One archive to upload: a ZIP file whose entries are deflated by zlib. Each entry is
// a stream: the writer of a file hands its bytes to it as it writes them, and nothing
// is read back from the disk. Deflating is a large share of the export's work, so it runs
// on a thread of its own, fed through a bounded queue of pieces; when the system gives
// no thread, on the caller's, with the same bytes.
//
// Entries lie in the archive in the order they were opened, and several may be open at
// once. The entry being laid down is deflated straight into the archive; one opened
// after it waits its turn with its deflated bytes in a file of the held folder (memory
// would grow with the board; the folder's file costs one write and one read of bytes
// that deflating made few), and goes in behind it once it is closed.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "base/files.hpp"
#include "base/out_file.hpp"

namespace velmorta::fab {

// The MS-DOS date and time of ZIP entries. The default, 1980-01-01 00:00, the format's
// first moment, keeps archives of the same set byte-identical.
struct ZipTime {
  int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class ZipArchive;

// One entry being written. Its bytes are queued for deflating as they come; a failure
// is kept, never thrown from Write (a file hands its last bytes on when it closes), and
// thrown by Close or the archive's Finish.
class ZipEntry final : public ByteSink {
 public:
  void Write(std::string_view bytes) override;
  // Its last byte written. Throws the error of this or an earlier entry, when known.
  void Close();

 private:
  friend class ZipArchive;
  ZipEntry(ZipArchive& archive, std::size_t number) : archive_(archive), number_(number) {}

  ZipArchive& archive_;
  std::size_t number_;
};

class ZipArchive {
 public:
  // Starts `thread` running `body`; replaceable so that a test can refuse it as a system
  // out of threads does (std::system_error).
  using StartThread = void (*)(std::thread& thread, std::function<void()> body);

  // Creates the archive at `path`; an entry that waits its turn is held in a file of
  // `heldFolder` (removed once it is in). Errors throw ExportError naming the archive.
  ZipArchive(const std::string& path, ZipTime time, std::string heldFolder, StartThread start = nullptr);
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;
  // Without Finish the archive is abandoned: the deflating stops after its piece.
  ~ZipArchive();

  // The next entry, `name` in UTF-8; `shown` names it in messages. Throws the error of
  // an earlier entry, when known.
  ZipEntry Open(const std::string& name, const std::string& shown);
  // Once every entry is closed: waits for their deflating, then writes the central
  // directory; the archive is on the disk when it returns. Throws the first error.
  void Finish();

 private:
  friend class ZipEntry;
  struct Deflater;
  struct Entry;
  enum class Step { Open, Piece, Close };
  struct Command {
    Step step{};
    std::size_t number = 0;
    std::string bytes;  // Open: the name; Piece: the bytes
    std::string shown;  // Open
  };

  void Submit(Command command);
  void Work();                     // the thread: the commands in order
  void Do(Command& command);       // one command, on whichever thread deflates
  void Begin(Command& command);
  void Deflate(Entry& entry, std::string_view bytes, bool last);
  void Emit(Entry& entry, const unsigned char* bytes, std::size_t count);
  void End(Entry& entry);
  void LayDownWaiting();           // the entries behind the one just closed
  void Hold(Entry& entry, const unsigned char* bytes, std::size_t count);
  void CopyHeld(Entry& entry);
  void Header(Entry& entry);
  void CheckSize(const Entry& entry) const;
  void RethrowFailure();
  void Write(const void* bytes, std::size_t count);
  [[noreturn]] void Fail(int error) const;

  std::string path_, heldFolder_;
  FileHandle file_;
  std::uint16_t date_ = 0, time_ = 0;
  std::size_t opened_ = 0;  // the caller's count of entries

  // Whichever thread deflates owns these; the caller reads them after it has joined.
  std::uint64_t written_ = 0;
  std::vector<Entry> entries_;
  std::size_t current_ = 0;  // the entry being laid down; those before it are in
  std::unique_ptr<unsigned char[]> output_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Command> queue_;  // guarded by mutex_, as are the three below
  std::size_t queued_ = 0;     // bytes of its pieces
  bool closing_ = false;
  std::exception_ptr failure_;
  std::thread thread_;         // started last: it uses everything above; none: deflate in Submit
};

}  // namespace velmorta::fab
