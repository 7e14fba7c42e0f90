#pragma once
// Large buffers that a program fills once and then reads at random: where the system
// offers it, they are backed by large pages, which are made ready in one step instead
// of one fault per small page and keep more of the buffer in the address cache. A
// hint: nothing changes where the system has no such pages.

#include <cstddef>
#include <vector>

namespace velmorta {

void PreferLargePages(void* data, std::size_t bytes);

// Reserves room for `n` items and gives the hint for it.
template <class T>
void ReserveLarge(std::vector<T>& list, std::size_t n) {
  list.reserve(n);
  PreferLargePages(list.data(), list.capacity() * sizeof(T));
}

}  // namespace velmorta
