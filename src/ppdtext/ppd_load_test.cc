#include "ppdtext/ppd_load.h"

#include <gtest/gtest.h>

#include "test_support.h"

// A text of exactly `size` bytes, with multi-byte characters on the way and a
// distinct last byte so that a lost tail shows.
std::string TextOfSize(size_t size) {
  std::string text;
  while (text.size() + 8 < size) text += "*% \xe6\x97\xa5 x\n";
  text.append(size - text.size() - 1, 'a');
  return text + 'Z';
}

TEST(ReadPPDFileBytes, SizesAcrossReadsLoadWholeAndTheLimitCountsDecompressedBytes) {
  ScratchDir dir;
  for (const size_t size : {size_t{1}, size_t{65535}, size_t{65536}, size_t{131071}, size_t{200000}}) {
    const std::string text = TextOfSize(size);
    for (const std::string& path : {dir.Write("plain.ppd", text), dir.Write("packed.ppd.gz", GzipBytes(text))}) {
      std::string reason;
      const std::optional<PPDText> loaded = QZCFStringCreateWithPPDFile(path.c_str(), &reason);
      EXPECT_TRUE(loaded && Utf8(loaded->text) == text) << path << " " << size << ": " << reason;
      EXPECT_FALSE(ReadPPDFileBytes(path.c_str(), &reason, size)) << path;
      EXPECT_EQ(reason, "file too large");
      EXPECT_TRUE(ReadPPDFileBytes(path.c_str(), &reason, size + 1)) << path;
    }
  }
  EXPECT_FALSE(QZCFStringCreateWithPPDFile(nullptr));
}

TEST(DecodePPDBytes, UTF8OrElseOneUnitPerByte) {
  std::string reason;
  EXPECT_FALSE(DecodePPDBytes(std::string("*PPD\0tail", 9), &reason));
  EXPECT_EQ(reason, "not a text file (it holds a zero byte)");
  for (const std::string bytes : {"\xc0\xaf", "\x80", "\xed\xa0\x80", "ok\xe6\x97", "\x93\xfa\x96\x7b"}) {
    const std::optional<PPDText> text = DecodePPDBytes(bytes);
    EXPECT_TRUE(text && text->encoding == TextEncoding::kBytes && text->text.size() == bytes.size()) << bytes;
    EXPECT_EQ(text->text.back(), static_cast<unsigned char>(bytes.back()));
  }
  const std::optional<PPDText> bom = DecodePPDBytes("\xef\xbb\xbf*PPD-Adobe \xe6\x97\xa5");
  EXPECT_TRUE(bom && bom->encoding == TextEncoding::kUTF8 && bom->text == u"\xFEFF*PPD-Adobe \x65E5");
}
