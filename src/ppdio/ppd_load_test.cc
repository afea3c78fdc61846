#include "ppdio/ppd_load.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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

// Files the kernel cannot copy itself (procfs refuses sendfile for some) are
// read through a buffer instead, to the same bytes.
TEST(ReadPPDFileBytes, FilesTheKernelCannotCopy) {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(expected.empty());
  std::string reason;
  EXPECT_EQ(ReadPPDFileBytes("/proc/self/cmdline", &reason).value_or("failed: " + reason), expected);
}

// A run's bytes are decoded a mebibyte at a time: what lies across a part's
// end decodes as the whole would, and what fails after the first part fails
// as it would at the start.
TEST(DecodePPDBytes, InPartsAsAWhole) {
  const size_t part = size_t{1} << 20;
  const struct {
    std::string tail;          // after part - 2 ASCII bytes
    const char* reason;        // nullptr when decoded
    TextEncoding encoding;
  } kCases[] = {
      {"\xf0\x9d\x84\x9e and more", nullptr, TextEncoding::kUTF8},  // a pair across the end
      {"ab\xe6\x97\xa5", nullptr, TextEncoding::kUTF8},
      {"ab\xe9 Latin-1", nullptr, TextEncoding::kBytes},              // invalid only in the second part
      {"ab\xf0\x9d\x84", nullptr, TextEncoding::kBytes},              // cut off at the end
      {"ab\0", "not a text file (it holds a zero byte)", TextEncoding::kUTF8},
  };
  for (const auto& c : kCases) {
    const std::string bytes = std::string(part - 2, 'x') + std::string(c.tail.data(), c.tail.size() + (c.reason ? 1 : 0));
    std::optional<PPDBytes> file = PPDBytesFromMemory(bytes);
    ASSERT_TRUE(file);
    std::string reason;
    const std::optional<PPDText> text = DecodePPDBytes(*file, &reason);
    if (c.reason != nullptr) {
      EXPECT_FALSE(text);
      EXPECT_EQ(reason, c.reason);
      continue;
    }
    ASSERT_TRUE(text) << reason;
    EXPECT_EQ(text->encoding, c.encoding) << c.tail;
    EXPECT_TRUE(text->text == (c.encoding == TextEncoding::kUTF8 ? *StringCreateWithUTF8(bytes)
                                                                  : StringCreateWithBytes(bytes)))
        << c.tail;
    // The bytes can still be read whole after the view gave its pages back.
    EXPECT_EQ(file->View(), bytes);
  }
}
