// Mapping a large, freshly allocated buffer in one go. The PPD text is written
// once from start to end right after it is allocated; left to itself the
// kernel maps it one page fault at a time, which on some machines is a large
// part of a whole run.
#ifndef PPDLOCALIZE_PPDTEXT_POPULATE_PAGES_H_
#define PPDLOCALIZE_PPDTEXT_POPULATE_PAGES_H_

#include <cstddef>

// Asks the kernel to map the whole pages of [data, data + bytes) for writing
// now; a no-op where that is not offered. Advice only: nothing else changes.
void PopulatePages(void* data, size_t bytes);

#endif  // PPDLOCALIZE_PPDTEXT_POPULATE_PAGES_H_
