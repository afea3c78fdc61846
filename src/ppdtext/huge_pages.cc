#include "ppdtext/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

void AdviseHugePages(void* data, size_t bytes) {
#if defined(MADV_HUGEPAGE)
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(kHugePage - 1);
  if (bytes >= 2 * kHugePage && end > begin) {
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);  // advice only
  }
#endif
#if defined(MADV_POPULATE_WRITE)
  // Map the pages in one call rather than one fault at a time; where the
  // kernel lacks this the pages simply fault in as they are written.
  constexpr uintptr_t kPage = 4096;
  const uintptr_t first = (reinterpret_cast<uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
  const uintptr_t last = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(kPage - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#endif
#if !defined(MADV_HUGEPAGE) && !defined(MADV_POPULATE_WRITE)
  (void)data;
  (void)bytes;
#endif
}
