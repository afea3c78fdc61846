// Heap settings for a process that runs setupPPD.
#ifndef PPDLOCALIZE_SETUP_LARGE_BUFFERS_H_
#define PPDLOCALIZE_SETUP_LARGE_BUFFERS_H_

// A run allocates a few large buffers one after another: the file's bytes,
// the decoded text, then libcups's parse. Served from the heap and kept when
// freed, the memory of the bytes is reused by the parse instead of being
// returned to the kernel and faulted in again page by page. Call once, at
// the start of main; does nothing where the C library has no such settings.
void KeepLargeBuffersInHeap();

#endif  // PPDLOCALIZE_SETUP_LARGE_BUFFERS_H_
