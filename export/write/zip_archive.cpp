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

struct Deflater {
  z_stream stream{};
  bool open = false;
  ~Deflater() {
    if (open) deflateEnd(&stream);
  }
};

void StartStdThread(std::thread& thread, std::function<void()> body) { thread = std::thread(std::move(body)); }

}  // namespace

ZipArchive::ZipArchive(const std::string& path, ZipTime time, StartThread start) : path_(path) {
  bool created = false;
  int error = 0;
  file_ = OpenWithoutTruncating(path, created, error);
  if (!file_ || !Truncate(file_.get(), error)) Fail(error);
  date_ = static_cast<std::uint16_t>(((time.year - 1980) << 9) | (time.month << 5) | time.day);
  time_ = static_cast<std::uint16_t>((time.hour << 11) | (time.minute << 5) | (time.second / 2));
  try {
    (start != nullptr ? start : &StartStdThread)(thread_, [this] { Deflate(); });
  } catch (const std::system_error&) {
    // No thread to be had (a process or address-space limit): Add deflates each entry.
  }
}

ZipArchive::~ZipArchive() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
    pending_.clear();
  }
  changed_.notify_all();
  thread_.join();
}

void ZipArchive::Deflate() {
  for (;;) {
    Pending next;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return closing_ || !pending_.empty(); });
      if (pending_.empty()) return;  // closing, and nothing left
      next = pending_.front();
    }
    try {
      Store(next);
    } catch (...) {
      const std::lock_guard<std::mutex> lock(mutex_);
      failure_ = std::current_exception();
      pending_.clear();
      changed_.notify_all();
      return;
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!pending_.empty()) pending_.pop_front();  // the destructor may have cleared it
    changed_.notify_all();
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

void ZipArchive::Add(const std::string& name, const std::string& path) {
  if (!thread_.joinable()) return Store({name, path});
  RethrowFailure();
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    pending_.push_back({name, path});
  }
  changed_.notify_all();
}

void ZipArchive::Store(const Pending& pending) {
  const std::string& name = pending.name;
  const std::string& path = pending.path;
  int error = 0;
  FileHandle in = OpenForReading(path, error);
  if (!in) throw ExportError(Text::CannotRead, {{"file", path}, {"reason", ReasonText(error)}});

  Entry entry{name, 0, 0, 0, written_};
  // The header's sizes and checksum are known only at the end: written as zeros, then
  // filled in, so readers that trust the local header (no data descriptor) find them.
  const Record header = Record()
                            .U32(kLocalHeader)
                            .U16(kVersion)
                            .U16(kUtf8Names)
                            .U16(kDeflate)
                            .U16(time_)
                            .U16(date_)
                            .U32(0)
                            .U32(0)
                            .U32(0)
                            .U16(static_cast<std::uint32_t>(name.size()))
                            .U16(0)
                            .Bytes(name);
  Write(header.Text().data(), header.Text().size());

  Deflater deflater;
  // Raw deflate (no zlib wrapper), as ZIP stores it; level 1: the files are text of a
  // few kinds of line, which compress well even at zlib's fastest.
  if (deflateInit2(&deflater.stream, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw ExportError(Text::ZlibStart, {{"file", path_}});
  }
  deflater.open = true;
  const std::size_t kChunk = 1 << 16;
  const std::unique_ptr<unsigned char[]> input(new unsigned char[kChunk]), output(new unsigned char[kChunk]);
  uLong crc = crc32(0, nullptr, 0);
  for (bool last = false; !last;) {
    const std::size_t n = std::fread(input.get(), 1, kChunk, in.get());
    if (n == 0 && std::ferror(in.get()) != 0) throw ExportError(Text::CannotReadNoReason, {{"file", path}});
    last = n < kChunk;
    crc = crc32(crc, input.get(), static_cast<uInt>(n));
    entry.size += n;
    deflater.stream.next_in = input.get();
    deflater.stream.avail_in = static_cast<uInt>(n);
    do {
      deflater.stream.next_out = output.get();
      deflater.stream.avail_out = static_cast<uInt>(kChunk);
      if (deflate(&deflater.stream, last ? Z_FINISH : Z_NO_FLUSH) == Z_STREAM_ERROR) {
        throw ExportError(Text::ZlibFailed, {{"file", path_}});
      }
      const std::size_t produced = kChunk - deflater.stream.avail_out;
      Write(output.get(), produced);
      entry.compressed += produced;
    } while (deflater.stream.avail_out == 0);
  }
  entry.crc = static_cast<std::uint32_t>(crc);
  if (entry.size > kLimit || entry.compressed > kLimit || written_ > kLimit) {
    throw ExportError(Text::ZipMemberTooLarge, {{"file", path_}, {"member", path}});
  }

  const Record sizes = Record().U32(entry.crc).U32(entry.compressed).U32(entry.size);
  if (!SeekTo(file_.get(), entry.offset + 14, error)) Fail(error);
  errno = 0;
  if (std::fwrite(sizes.Text().data(), 1, sizes.Text().size(), file_.get()) != sizes.Text().size()) Fail(errno);
  if (!SeekTo(file_.get(), written_, error)) Fail(error);
  entries_.push_back(std::move(entry));
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
