// The loader's file step: ReadPPDFileBytes on a scratch file holding the fuzz
// bytes as they are, or gzip-compressed whole, cut short or with one byte
// changed. A plain file comes back byte for byte (below the size limit), a
// whole gzip file comes back decompressed, and a damaged one either fails or
// gives exactly what was compressed or the file as it is: never other data.
//
// Input: a mode byte, a parameter byte, then the payload. The gzip modes
// compress the payload repeated 1 to 4 times (the parameter's top two bits),
// so that a seed of a few ten kilobytes spans several read chunks.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "ppdtext/ppd_load.h"
#include "scratch_file.h"

namespace {

std::string Gzip(std::string_view bytes, int level) {
  z_stream stream{};
  if (deflateInit2(&stream, level, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    fuzz::Fail("deflateInit2 succeeds");
  }
  std::string out(deflateBound(&stream, bytes.size()) + 64, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  if (deflate(&stream, Z_FINISH) != Z_STREAM_END) fuzz::Fail("deflate finishes");
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

bool LooksGzip(std::string_view file) {
  return file.size() >= 2 && static_cast<unsigned char>(file[0]) == 0x1F &&
         static_cast<unsigned char>(file[1]) == 0x8B;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const unsigned mode = data[0] % 4;
  const unsigned param = data[1];
  const std::string_view fuzz_bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string payload(fuzz_bytes);
  if (mode != 0) {
    for (unsigned i = 0; i < param >> 6; ++i) payload += fuzz_bytes;
  }

  std::string file;
  uint64_t limit = kPPDMaxFileBytes;
  switch (mode) {
    case 0:  // plain, sometimes with a limit right around the size
      file = payload;
      if (param % 2 == 1) limit = std::max<int64_t>(0, static_cast<int64_t>(payload.size()) + (param / 2) % 5 - 2);
      break;
    case 1:  // whole gzip
      file = Gzip(payload, static_cast<int>(param % 10));
      break;
    case 2: {  // gzip cut short
      file = Gzip(payload, Z_DEFAULT_COMPRESSION);
      file.resize(file.size() * param / 256);
      break;
    }
    case 3: {  // gzip with one byte changed
      file = Gzip(payload, Z_DEFAULT_COMPRESSION);
      const size_t at = (payload.empty() ? 0 : static_cast<unsigned char>(payload[0])) * 256 + param;
      file[at % file.size()] = static_cast<char>(file[at % file.size()] ^ (param | 1));
      break;
    }
  }

  std::string reason;
  const std::optional<std::string> got = ReadPPDFileBytes(fuzz::WriteScratchFile(file).c_str(), &reason, limit);
  if (!got) FUZZ_CHECK(!reason.empty());

  if (!LooksGzip(file)) {
    // Read as it is: exactly the file, when it is not empty and below the limit.
    const bool readable = !file.empty() && file.size() < limit;
    FUZZ_CHECK(got.has_value() == readable, reason);
    if (got) FUZZ_CHECK(*got == file);
    return 0;
  }
  if (mode == 1) {
    FUZZ_CHECK(got.has_value() == !payload.empty(), reason);
    if (got) FUZZ_CHECK(*got == payload);
    return 0;
  }
  if (mode == 0) return 0;  // gzip magic in fuzz bytes: anything but a crash
  // libcups reads a file whose gzip header it does not accept (reserved flag
  // bits, another method) as it is, so the file itself is a right answer too.
  if (got) FUZZ_CHECK(*got == payload || *got == file, "a damaged gzip file gave other data");
  return 0;
}
