#include "ppdtext/ppd_load.h"

#include <gtest/gtest.h>

#include "test_support.h"

// Whole files, plain and gzip, around the sizes where reads and buffers end;
// the limit counts the decompressed bytes. The runs of the binary cover the
// rest of the loader (tests/cli_test.cc).
TEST(ReadPPDFileBytes, SizesAndTheLimit) {
  ScratchDir dir;
  for (const size_t size : {size_t{1}, size_t{65535}, size_t{65536}, size_t{131071}, size_t{200000}}) {
    std::string text;
    while (text.size() + 9 < size) text += "*% \xe6\x97\xa5 x\n";
    text += std::string(size - text.size() - 1, 'a') + 'Z';
    for (const std::string& path : {dir.Write("plain.ppd", text), dir.Write("packed.ppd.gz", GzipBytes(text))}) {
      std::string reason;
      EXPECT_EQ(ReadPPDFileBytes(path.c_str(), &reason, size + 1).value_or(reason), text) << path << " " << size;
      EXPECT_FALSE(ReadPPDFileBytes(path.c_str(), &reason, size)) << path;
      EXPECT_EQ(reason, "file too large");
    }
  }
}
