#pragma once
// Writes a set of files so that none is left half-written: each goes to a temporary
// name beside its target first, and only when all are complete are they renamed.

#include <string>
#include <vector>

namespace velmorta::fab {

struct FileText {
  std::string path;
  std::string bytes;
};

// The temporary name of a target.
std::string TemporaryPath(const std::string& path);

// Throws ExportError naming the file that could not be written; the temporary files
// are removed then and no target is touched.
void WriteAllOrNothing(const std::vector<FileText>& files);

}  // namespace velmorta::fab
