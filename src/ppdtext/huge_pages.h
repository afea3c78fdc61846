// Asking the kernel to back a large buffer with huge pages. The PPD text of a
// large file is written once from start to end right after it is allocated;
// with 4 KiB pages that first touch costs one page fault per page, which on
// some machines is a large part of a whole run.
#ifndef PPDLOCALIZE_PPDTEXT_HUGE_PAGES_H_
#define PPDLOCALIZE_PPDTEXT_HUGE_PAGES_H_

#include <cstddef>

// Advises huge pages for the whole 2 MiB blocks inside [data, data + bytes)
// when the buffer is large enough to gain; a no-op where that is not offered.
void AdviseHugePages(void* data, size_t bytes);

#endif  // PPDLOCALIZE_PPDTEXT_HUGE_PAGES_H_
