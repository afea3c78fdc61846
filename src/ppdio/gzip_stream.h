// A stream that gzip-compresses what is written to it.
#ifndef PPDLOCALIZE_PPDIO_GZIP_STREAM_H_
#define PPDLOCALIZE_PPDIO_GZIP_STREAM_H_

#include <cstdio>

// Opens a stream whose bytes reach `out` as one gzip member, with no file
// name and no time in its header, so that the same bytes always compress to
// the same data. Closing the stream (fclose) writes the rest of the data and
// the trailer and answers EOF when anything could not be written to `out`;
// `out` stays the caller's, unflushed. Null when the stream cannot be made.
FILE* OpenGzipStream(FILE* out);

#endif  // PPDLOCALIZE_PPDIO_GZIP_STREAM_H_
