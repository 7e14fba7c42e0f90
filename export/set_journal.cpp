#include "export/set_journal.hpp"

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "base/files.hpp"
#include "export/read/export_error.hpp"

namespace velmorta::fab {
namespace {

constexpr std::string_view kHeading = "velmorta-export journal 1\nrun ";

// Only hex digits: a journal can never point the swap at a path of its choosing.
bool IsRun(std::string_view run) {
  return !run.empty() && run.size() <= 32 && run.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::optional<Journal> Parse(std::string_view text) {
  if (!text.starts_with(kHeading)) return std::nullopt;
  text.remove_prefix(kHeading.size());
  const std::size_t end = text.find('\n');
  if (end == std::string_view::npos || !IsRun(text.substr(0, end))) return std::nullopt;
  Journal journal{std::string(text.substr(0, end))};
  text.remove_prefix(end + 1);
  if (text == "step writing\n") return journal;
  if (text != "step swapping\n") return std::nullopt;
  journal.phase = SwapPhase::Swapping;
  return journal;
}

}  // namespace

RunNames NamesOf(const SetPaths& set, const std::string& run) {
  return {set.folder + ".part." + run, set.archive + ".part." + run, set.folder + ".old." + run,
          set.archive + ".old." + run};
}

std::string NewRun() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto nanoseconds = static_cast<unsigned long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
  char text[24];
  std::snprintf(text, sizeof text, "%llx", nanoseconds);
  return text;
}

std::string JournalText(const Journal& journal) {
  return std::string(kHeading) + journal.run + "\nstep " +
         (journal.phase == SwapPhase::Writing ? "writing" : "swapping") + "\n";
}

std::optional<Journal> ReadJournal(const SetPaths& set) {
  int error = 0;
  FileHandle file = OpenForReading(set.journal, error);
  if (!file && error == ENOENT) return std::nullopt;
  if (!file) throw ExportError(Text::CannotReadJournal, {{"file", set.journal}, {"reason", ReasonText(error)}});
  char bytes[256];
  const std::size_t size = std::fread(bytes, 1, sizeof bytes, file.get());
  const std::optional<Journal> journal = Parse(std::string_view(bytes, size));
  if (!journal) {
    throw ExportError(Text::NotOurJournal, {{"file", set.journal}});
  }
  return journal;
}

}  // namespace velmorta::fab
