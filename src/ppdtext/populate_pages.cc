#include "ppdtext/populate_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

void PopulatePages(void* data, size_t bytes) {
  static const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t first = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
  const uintptr_t last = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(page - 1);
  // Where the kernel lacks this (before Linux 5.14) the pages simply fault in
  // as they are written.
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
}
