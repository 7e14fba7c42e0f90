#include "export/write/zip_archive.hpp"

#include <cerrno>
#include <memory>
#include <system_error>
#include <zlib.h>

#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

// Little-endian fields, as the format stores them.
class Record {
 public:
  Record& U16(std::uint32_t v) {
    bytes_ += static_cast<char>(v & 0xFF);
    bytes_ += static_cast<char>((v >> 8) & 0xFF);
    return *this;
  }
  Record& U32(std::uint64_t v) {
    U16(static_cast<std::uint32_t>(v & 0xFFFF));
    return U16(static_cast<std::uint32_t>((v >> 16) & 0xFFFF));
  }
  Record& Bytes(const std::string& text) {
    bytes_ += text;
    return *this;
  }
  const std::string& Text() const { return bytes_; }

 private:
  std::string bytes_;
};

constexpr std::uint32_t kLocalHeader = 0x04034b50, kCentralHeader = 0x02014b50, kEnd = 0x06054b50;
constexpr std::uint32_t kVersion = 20;         // 2.0: deflate
// Made by Unix, to version 6.3 of the format, the one that gave flag 11 its meaning:
// Info-ZIP's unzip reads the names of an MS-DOS entry as code page 437, flag or not.
constexpr std::uint32_t kMadeBy = (3 << 8) | 63;
// Where the host is Unix, readers take the file's mode from here: a file, rw-r--r--.
constexpr std::uint64_t kFileMode = std::uint64_t{0100644} << 16;
constexpr std::uint32_t kUtf8Names = 1 << 11;  // general purpose flag 11
constexpr std::uint32_t kDeflate = 8;
constexpr std::uint64_t kLimit = 0xFFFFFFFF;   // without the 64-bit extension

constexpr std::size_t kChunk = 1 << 16;
// The caller runs ahead of the deflating by this many bytes at most: sixteen of a set
// file's buffers.
constexpr std::size_t kQueueBytes = 1 << 20;

void StartStdThread(std::thread& thread, std::function<void()> body) { thread = std::thread(std::move(body)); }

}  // namespace

// zlib's stream points back at itself: it stays where it was initialised.
struct ZipArchive::Deflater {
  z_stream stream{};
  bool open = false;
  ~Deflater() {
    if (open) deflateEnd(&stream);
  }
};

struct ZipArchive::Entry {
  std::size_t number = 0;
  std::string name, shown;
  std::uint32_t crc = 0;
  std::uint64_t compressed = 0, size = 0, offset = 0;
  std::unique_ptr<Deflater> deflater;  // while it is open
  bool closed = false;
  // Its deflated bytes while an entry before it is being laid down.
  std::string heldPath;
  FileHandle held;
};

void ZipEntry::Write(std::string_view bytes) {
  if (!bytes.empty()) archive_.Submit({ZipArchive::Step::Piece, number_, std::string(bytes), {}});
}

void ZipEntry::Close() {
  archive_.Submit({ZipArchive::Step::Close, number_, {}, {}});
  archive_.RethrowFailure();
}

ZipArchive::ZipArchive(const std::string& path, ZipTime time, std::string heldFolder, StartThread start)
    : path_(path), heldFolder_(std::move(heldFolder)), output_(new unsigned char[kChunk]) {
  bool created = false;
  int error = 0;
  file_ = OpenWithoutTruncating(path, created, error);
  if (!file_ || !Truncate(file_.get(), error)) Fail(error);
  date_ = static_cast<std::uint16_t>(((time.year - 1980) << 9) | (time.month << 5) | time.day);
  time_ = static_cast<std::uint16_t>((time.hour << 11) | (time.minute << 5) | (time.second / 2));
  try {
    (start != nullptr ? start : &StartStdThread)(thread_, [this] { Work(); });
  } catch (const std::system_error&) {
    // No thread to be had (a process or address-space limit): Submit deflates each piece.
  }
}

ZipArchive::~ZipArchive() {
  if (thread_.joinable()) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      closing_ = true;
      queue_.clear();
    }
    changed_.notify_all();
    thread_.join();
  }
  for (Entry& entry : entries_) {
    if (!entry.held) continue;
    entry.held.reset();
    int error = 0;
    (void)RemoveFile(entry.heldPath, error);  // one left here goes with the staging folder
  }
}

ZipEntry ZipArchive::Open(const std::string& name, const std::string& shown) {
  RethrowFailure();
  Submit({Step::Open, opened_, name, shown});
  RethrowFailure();
  return ZipEntry(*this, opened_++);
}

void ZipArchive::Submit(Command command) {
  if (!thread_.joinable()) {
    if (failure_) return;
    try {
      Do(command);
    } catch (...) {
      failure_ = std::current_exception();
    }
    return;
  }
  {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return failure_ || queued_ < kQueueBytes; });
    if (failure_) return;  // nothing more goes in; Close or Finish says why
    queued_ += command.bytes.size();
    queue_.push_back(std::move(command));
  }
  changed_.notify_all();
}

void ZipArchive::Work() {
  for (;;) {
    Command command;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return closing_ || !queue_.empty(); });
      if (queue_.empty()) return;  // closing, and nothing left
      command = std::move(queue_.front());
      queue_.pop_front();
      queued_ -= command.bytes.size();
    }
    changed_.notify_all();  // room in the queue
    try {
      Do(command);
    } catch (...) {
      const std::lock_guard<std::mutex> lock(mutex_);
      failure_ = std::current_exception();
      queue_.clear();
      queued_ = 0;
      changed_.notify_all();
      return;
    }
  }
}

void ZipArchive::RethrowFailure() {
  std::exception_ptr failure;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    failure = failure_;
  }
  if (failure) std::rethrow_exception(failure);
}

void ZipArchive::Fail(int error) const {
  throw ExportError(Text::CannotWrite, {{"file", path_}, {"reason", ReasonText(error != 0 ? error : EIO)}});
}

void ZipArchive::Write(const void* bytes, std::size_t count) {
  errno = 0;
  if (std::fwrite(bytes, 1, count, file_.get()) != count) Fail(errno);
  written_ += count;
}

void ZipArchive::Do(Command& command) {
  switch (command.step) {
    case Step::Open: return Begin(command);
    case Step::Piece: return Deflate(entries_[command.number], command.bytes, false);
    case Step::Close: return End(entries_[command.number]);
  }
}

void ZipArchive::Begin(Command& command) {
  Entry& entry = entries_.emplace_back();
  entry.number = command.number;
  entry.name = std::move(command.bytes);
  entry.shown = std::move(command.shown);
  entry.deflater = std::make_unique<Deflater>();
  // Raw deflate (no zlib wrapper), as ZIP stores it; level 1: the files are text of a
  // few kinds of line, which compress well even at zlib's fastest.
  if (deflateInit2(&entry.deflater->stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw ExportError(Text::ZlibStart, {{"file", path_}});
  }
  entry.deflater->open = true;
  if (entry.number == current_) Header(entry);  // nothing before it waits: straight in
}

void ZipArchive::Header(Entry& entry) {
  // Known only at the end, the sizes and checksum of an entry laid down while it is
  // written are zeros here, then filled in, so that readers that trust the local header
  // (no data descriptor) find them.
  const bool known = entry.closed;
  const Record header = Record()
                            .U32(kLocalHeader)
                            .U16(kVersion)
                            .U16(kUtf8Names)
                            .U16(kDeflate)
                            .U16(time_)
                            .U16(date_)
                            .U32(known ? entry.crc : 0)
                            .U32(known ? entry.compressed : 0)
                            .U32(known ? entry.size : 0)
                            .U16(static_cast<std::uint32_t>(entry.name.size()))
                            .U16(0)
                            .Bytes(entry.name);
  entry.offset = written_;
  Write(header.Text().data(), header.Text().size());
}

void ZipArchive::Deflate(Entry& entry, std::string_view bytes, bool last) {
  z_stream& stream = entry.deflater->stream;
  const auto* input = reinterpret_cast<const unsigned char*>(bytes.data());
  // Not for the last, empty call: zlib answers a null buffer with the checksum's start.
  if (!bytes.empty()) entry.crc = static_cast<std::uint32_t>(crc32(entry.crc, input, static_cast<uInt>(bytes.size())));
  entry.size += bytes.size();
  stream.next_in = const_cast<unsigned char*>(input);  // zlib reads it only
  stream.avail_in = static_cast<uInt>(bytes.size());
  do {
    stream.next_out = output_.get();
    stream.avail_out = static_cast<uInt>(kChunk);
    if (deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH) == Z_STREAM_ERROR) {
      throw ExportError(Text::ZlibFailed, {{"file", path_}});
    }
    Emit(entry, output_.get(), kChunk - stream.avail_out);
  } while (stream.avail_out == 0);
}

void ZipArchive::Emit(Entry& entry, const unsigned char* bytes, std::size_t count) {
  entry.compressed += count;
  if (entry.number == current_) {
    Write(bytes, count);
  } else {
    Hold(entry, bytes, count);
  }
}

void ZipArchive::Hold(Entry& entry, const unsigned char* bytes, std::size_t count) {
  if (count == 0) return;
  if (!entry.held) {
    // Named so that no file of a set can be: they end otherwise.
    entry.heldPath = JoinPath(heldFolder_, "entry-" + std::to_string(entry.number + 1) + ".deflated");
    errno = 0;
    entry.held.reset(std::fopen(entry.heldPath.c_str(), "w+b"));
    if (!entry.held) Fail(errno);
  }
  errno = 0;
  if (std::fwrite(bytes, 1, count, entry.held.get()) != count) Fail(errno);
}

void ZipArchive::End(Entry& entry) {
  Deflate(entry, {}, true);
  entry.deflater.reset();
  entry.closed = true;
  if (entry.number != current_) return;  // in behind the one before it
  const Record sizes = Record().U32(entry.crc).U32(entry.compressed).U32(entry.size);
  int error = 0;
  if (!SeekTo(file_.get(), entry.offset + 14, error)) Fail(error);
  errno = 0;
  if (std::fwrite(sizes.Text().data(), 1, sizes.Text().size(), file_.get()) != sizes.Text().size()) Fail(errno);
  if (!SeekTo(file_.get(), written_, error)) Fail(error);
  CheckSize(entry);
  ++current_;
  LayDownWaiting();
}

void ZipArchive::LayDownWaiting() {
  for (; current_ < entries_.size(); ++current_) {
    Entry& entry = entries_[current_];
    Header(entry);
    CopyHeld(entry);
    if (!entry.closed) return;  // the rest of it goes straight in
    CheckSize(entry);
  }
}

void ZipArchive::CopyHeld(Entry& entry) {
  if (!entry.held) return;
  int error = 0;
  if (!SeekTo(entry.held.get(), 0, error)) Fail(error);
  for (std::size_t n; (n = std::fread(output_.get(), 1, kChunk, entry.held.get())) > 0;) Write(output_.get(), n);
  if (std::ferror(entry.held.get()) != 0) Fail(EIO);
  entry.held.reset();
  if (!RemoveFile(entry.heldPath, error)) Fail(error);
}

// Without the 64-bit extension, sizes and offsets have 32 bits.
void ZipArchive::CheckSize(const Entry& entry) const {
  if (entry.size > kLimit || entry.compressed > kLimit || written_ > kLimit) {
    throw ExportError(Text::ZipMemberTooLarge, {{"file", path_}, {"member", entry.shown}});
  }
}

void ZipArchive::Finish() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();  // after the last entry, or the first failure
  RethrowFailure();
  const std::uint64_t start = written_;
  for (const Entry& entry : entries_) {
    const Record central = Record()
                               .U32(kCentralHeader)
                               .U16(kMadeBy)
                               .U16(kVersion)
                               .U16(kUtf8Names)
                               .U16(kDeflate)
                               .U16(time_)
                               .U16(date_)
                               .U32(entry.crc)
                               .U32(entry.compressed)
                               .U32(entry.size)
                               .U16(static_cast<std::uint32_t>(entry.name.size()))
                               .U16(0)
                               .U16(0)
                               .U16(0)
                               .U16(0)
                               .U32(kFileMode)
                               .U32(entry.offset)
                               .Bytes(entry.name);
    Write(central.Text().data(), central.Text().size());
  }
  const std::uint64_t size = written_ - start;
  const Record end = Record()
                         .U32(kEnd)
                         .U16(0)
                         .U16(0)
                         .U16(static_cast<std::uint32_t>(entries_.size()))
                         .U16(static_cast<std::uint32_t>(entries_.size()))
                         .U32(size)
                         .U32(start)
                         .U16(0);
  Write(end.Text().data(), end.Text().size());
  if (written_ > kLimit) throw ExportError(Text::ZipTooLarge, {{"file", path_}});
  int error = 0;
  if (!SyncToDisk(file_.get(), error)) Fail(error);
  FileHandle file = std::move(file_);
  errno = 0;
  if (std::fclose(file.release()) != 0) Fail(errno);
}

}  // namespace velmorta::fab
