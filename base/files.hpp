#pragma once
// Every file operation of both programs, and the only place that knows the platform.
// Paths are narrow strings: bytes on POSIX, the system code page on Windows (as the
// users' configurations hold them), passed to the system unchanged.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmorta {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The system's text for an errno value, for messages on standard error.
std::string ReasonText(int error);

// Opens a file for reading in binary. A directory is not a file: it fails with EISDIR.
// On failure returns null and sets `error`.
FileHandle OpenForReading(const std::string& path, int& error);

// Opens a file for writing in binary at its start without truncating it, creating it
// when it is missing (`created` says so). Nothing is lost until Truncate is called.
// A directory fails with EISDIR here too, on every system.
FileHandle OpenWithoutTruncating(const std::string& path, bool& created, int& error);

// Empties an open file; false with `error` set when the system refuses.
bool Truncate(std::FILE* file, int& error);

// Moves an open file's position to `offset` from its start (beyond 2 GB too).
bool SeekTo(std::FILE* file, std::uint64_t offset, int& error);

// Writes the file's buffered bytes and asks the system to put them on the disk.
bool SyncToDisk(std::FILE* file, int& error);

// What makes two open files one: "a.gbr", "./a.gbr" and two links to one file have
// the same identity. A device (/dev/null, NUL) is one file however often it is named.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool device = false;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
std::optional<FileIdentity> IdentityOf(std::FILE* file);
// Whether two identities are one file that is no device. An identity the system could
// not tell is never the same as another.
inline bool SameFile(const std::optional<FileIdentity>& a, const std::optional<FileIdentity>& b) {
  return a && b && !a->device && !b->device && *a == *b;
}

// Renames `from` to `to`, replacing a file at `to`.
bool RenameReplacing(const std::string& from, const std::string& to, int& error);
bool RemoveFile(const std::string& path, int& error);
bool MakeDirectory(const std::string& path, int& error);  // false with EEXIST when it exists
bool RemoveDirectory(const std::string& path, int& error);  // an empty one
bool IsDirectory(const std::string& path);
bool Exists(const std::string& path);

// The names in a directory, "." and ".." left out, in no particular order.
bool ListDirectory(const std::string& path, std::vector<std::string>& names, int& error);
// Removes a file, or a directory with everything in it; a link is removed, never followed.
bool RemoveTree(const std::string& path, int& error);

// When a file's content last changed, in nanoseconds since an epoch of the system's
// (only ever compared with another file's); nothing when it cannot be told.
std::optional<std::int64_t> ModifiedTime(const std::string& path);

// `name` inside `directory`: a separator between them unless the directory is empty or
// ends in one.
std::string JoinPath(std::string_view directory, std::string_view name);

// Where the file name of a path starts: after the last directory separator ("/", and on
// Windows "\" too, but never the second byte of a double-byte character).
std::size_t NameStart(std::string_view path);
inline std::string_view FileNameOf(std::string_view path) { return path.substr(NameStart(path)); }
inline std::string_view DirectoryOf(std::string_view path) { return path.substr(0, NameStart(path)); }

// The separator that the converter appends to an output directory.
#ifdef _WIN32
inline constexpr char kDirectorySeparator = '\\';
#else
inline constexpr char kDirectorySeparator = '/';
#endif

}  // namespace velmorta
