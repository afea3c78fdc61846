#include "setup/large_buffers.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepLargeBuffersInHeap() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 32 << 20);  // glibc's largest
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
}
