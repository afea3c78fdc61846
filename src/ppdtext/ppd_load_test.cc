#include "ppdtext/ppd_load.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// A text of exactly `size` bytes, with multi-byte characters on the way and
// a distinct last byte so a lost tail shows.
std::string TextOfSize(size_t size) {
  std::string text;
  while (text.size() + 8 < size) text += "*% \xe6\x97\xa5 x\n";
  text.append(size - text.size() - 1, 'a');
  text += 'Z';
  return text;
}

}  // namespace

TEST(ReadPPDFileBytes, ChunkBoundariesLoadCompletely) {
  ScratchDir dir;
  for (const size_t size : {size_t{1}, size_t{65534}, size_t{65535}, size_t{65536}, size_t{131070},
                            size_t{131071}, size_t{200000}}) {
    const std::string text = TextOfSize(size);
    ASSERT_EQ(text.size(), size);
    const std::string plain = dir.Write("plain.ppd", text);
    const std::string gzip = dir.Write("packed.ppd.gz", GzipBytes(text));
    for (const std::string& path : {plain, gzip}) {
      std::string reason;
      std::optional<UString> loaded = QZCFStringCreateWithPPDFile(path.c_str(), &reason);
      ASSERT_TRUE(loaded) << path << " " << size << ": " << reason;
      EXPECT_EQ(Utf8(*loaded), text) << path << " " << size;
    }
  }
}

TEST(ReadPPDFileBytes, FailuresNameTheirReason) {
  ScratchDir dir;
  const std::string packed = GzipBytes(TextOfSize(300000));
  std::string corrupt = packed;
  corrupt[corrupt.size() / 2] ^= 0x55;
  std::string bad_trailer = packed;
  bad_trailer[bad_trailer.size() - 6] ^= 0x01;  // CRC-32 byte

  struct Case {
    std::string path;
    std::string reason;
  } cases[] = {
      {dir.path() + "/missing.ppd", "No such file or directory"},
      {dir.path(), "not a regular file"},
      {"/dev/null", "not a regular file"},
      {dir.Write("empty.ppd", ""), "empty file"},
      {dir.Write("truncated.ppd.gz", packed.substr(0, packed.size() - 40)), "gzip data is truncated or corrupt"},
      {dir.Write("corrupt.ppd.gz", corrupt), ""},  // libcups' own error or our trailer check
      {dir.Write("trailer.ppd.gz", bad_trailer), ""},
  };
  for (const Case& c : cases) {
    std::string reason;
    EXPECT_FALSE(ReadPPDFileBytes(c.path.c_str(), &reason)) << c.path;
    EXPECT_FALSE(reason.empty()) << c.path;
    if (!c.reason.empty()) {
      EXPECT_EQ(reason, c.reason) << c.path;
    }
  }
  std::string reason;
  EXPECT_FALSE(ReadPPDFileBytes(nullptr, &reason));
  EXPECT_FALSE(QZCFStringCreateWithPPDFile(nullptr));
}

TEST(ReadPPDFileBytes, SizeLimitCountsDecompressedBytes) {
  ScratchDir dir;
  const std::string text = TextOfSize(70000);
  const std::string plain = dir.Write("plain.ppd", text);
  const std::string gzip = dir.Write("packed.ppd.gz", GzipBytes(text));
  for (const std::string& path : {plain, gzip}) {
    std::string reason;
    EXPECT_FALSE(ReadPPDFileBytes(path.c_str(), &reason, 70000)) << path;
    EXPECT_EQ(reason, "file too large");
    EXPECT_TRUE(ReadPPDFileBytes(path.c_str(), &reason, 70001)) << path;
  }
}

TEST(DecodePPDBytes, ZeroBytesAndInvalidUtf8AreRefused) {
  std::string reason;
  EXPECT_FALSE(DecodePPDBytes(std::string("*PPD\0tail", 9), &reason));
  EXPECT_EQ(reason, "not a text file (it holds a zero byte)");
  EXPECT_FALSE(DecodePPDBytes(std::string(1, '\0'), &reason));
  for (const char* bytes : {"\xc0\xaf", "\x80", "\xed\xa0\x80", "ok\xe6\x97"}) {
    EXPECT_FALSE(DecodePPDBytes(bytes, &reason)) << bytes;
    EXPECT_EQ(reason, "not valid UTF-8");
  }
  std::optional<UString> bom = DecodePPDBytes("\xef\xbb\xbf*PPD-Adobe", &reason);
  ASSERT_TRUE(bom);
  EXPECT_EQ((*bom)[0], u'\xFEFF');
}
