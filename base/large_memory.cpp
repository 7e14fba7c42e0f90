#include "base/large_memory.hpp"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace velmorta {

void PreferLargePages(void* data, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Below a few large pages the hint gains nothing.
  constexpr std::size_t kLargePage = std::size_t{2} << 20, kWorthIt = 4 * kLargePage;
  if (data == nullptr || bytes < kWorthIt) return;
  // The whole pages inside the buffer; the system uses large ones where they fit.
  constexpr std::uintptr_t kPage = 4096;
  const auto start = (reinterpret_cast<std::uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kPage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace velmorta
