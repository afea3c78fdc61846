#include "ppdio/ppd_load.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

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

// The seed's reading: a file's text as the run decodes it, or why not.
TEST(ReadPPDFileBytes, TextOfAFileOrWhyNot) {
  ScratchDir dir;
  std::string reason;
  const std::optional<PPDText> text = QZCFStringCreateWithPPDFile(dir.Write("a.ppd.gz", GzipBytes("*PPD-Adobe: \"4.3\"\n")).c_str(), &reason);
  EXPECT_TRUE(text && text->text == u"*PPD-Adobe: \"4.3\"\n") << reason;
  EXPECT_FALSE(QZCFStringCreateWithPPDFile(dir.Write("empty.ppd", "").c_str(), &reason));
  EXPECT_EQ(reason, "empty file");
  // Two bytes of gzip's magic and nothing more are gzip, cut short.
  EXPECT_FALSE(QZCFStringCreateWithPPDFile(dir.Write("magic.ppd", "\x1f\x8b").c_str(), &reason));
  EXPECT_EQ(reason, "gzip data is truncated or corrupt");
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

// The bytes' pages are freed behind both readers (the decoder and the one
// reading through the descriptor, as libcups does) and never ahead of
// either; the text is whole whatever was freed, also when the bytes turn out
// not to be UTF-8 after parts of them were freed.
TEST(DecodePPDBytes, FreesOnlyWhatBothReadersArePast) {
  const size_t part = size_t{1} << 18, page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const std::string utf8 = std::string(3 * part, 'x') + "\xc3\xa9";
  const std::string latin1 = std::string(3 * part, 'x') + "\xe9 in the fourth part";
  for (const std::string& bytes : {utf8, latin1}) {
    for (const size_t read : {size_t{0}, part + 100, bytes.size()}) {  // how far the descriptor's reader is
      std::optional<PPDBytes> file = PPDBytesFromMemory(bytes);
      ASSERT_TRUE(file);
      ASSERT_EQ(lseek(file->fd(), static_cast<off_t>(read), SEEK_SET), static_cast<off_t>(read));
      std::string reason;
      const std::optional<PPDText> text = DecodePPDBytes(*file, &reason);
      ASSERT_TRUE(text) << reason;
      const bool is_utf8 = bytes == utf8;
      EXPECT_EQ(text->encoding, is_utf8 ? TextEncoding::kUTF8 : TextEncoding::kBytes);
      EXPECT_TRUE(text->text == (is_utf8 ? *StringCreateWithUTF8(bytes) : StringCreateWithBytes(bytes)));
      // Freed: the whole pages that both the reader and the decoder are past.
      const size_t freed = std::min(read, bytes.size()) / page * page;
      const std::string_view now = file->View();
      EXPECT_EQ(now.substr(0, freed), std::string(freed, '\0')) << read;
      EXPECT_EQ(now.substr(freed), std::string_view(bytes).substr(freed)) << read;
    }
  }
}

// Paced, the decoding waits for the descriptor's reader where going on would
// hold more than allowed, frees the pages both are past, and goes on at once
// when the reader is done, whether it read everything or not.
TEST(DecodePPDBytes, PacedByTheDescriptorsReader) {
  const std::string bytes(64 * static_cast<size_t>(sysconf(_SC_PAGESIZE)), 'x');
  for (const bool reads : {true, false}) {
    std::optional<PPDBytes> file = PPDBytesFromMemory(bytes);
    ASSERT_TRUE(file);
    std::stop_source reader_done;
    const DecodePace pace{2.5, 0, reader_done.get_token()};
    std::atomic<bool> decoded = false;
    std::optional<PPDText> text;
    std::jthread decoding([&] {
      text = DecodePPDBytes(*file, nullptr, &pace);
      decoded = true;
    });
    // Three quarters at most, without the reader: never all of it.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(decoded);
    if (reads) {
      std::string all(bytes.size(), '\0');
      ASSERT_EQ(read(file->fd(), all.data(), all.size()), static_cast<ssize_t>(all.size()));  // as libcups reads
      EXPECT_EQ(all, bytes);
      for (int waited = 0; waited < 5000 && !decoded; ++waited) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      EXPECT_TRUE(decoded);  // without being told that the reader is done
    }
    reader_done.request_stop();
    decoding.join();
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->text == StringCreateWithBytes(bytes));
    EXPECT_EQ(file->View(), std::string(bytes.size(), '\0')) << "freed behind both readers, or the decoder alone";
  }
}
