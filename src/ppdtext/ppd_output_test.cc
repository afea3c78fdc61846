#include "ppdtext/ppd_output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "test_support.h"

namespace {

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

// What a function writes to a stream, captured through a scratch file.
template <typename Write>
std::string Capture(Write write) {
  std::unique_ptr<FILE, FileCloser> file(std::tmpfile());
  write(file.get());
  std::fflush(file.get());
  std::rewind(file.get());
  std::string bytes;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, n);
  return bytes;
}

}  // namespace

TEST(CFStringOutputPPD, WritesUtf8AndOneNewline) {
  struct Case {
    std::string text;
    std::string want;
  } cases[] = {
      {"*PPD-Adobe: \"4.3\"", "*PPD-Adobe: \"4.3\"\n"},
      {"line\n", "line\n\n"},
      {"*ja.PageSize A4/\xe6\x97\xa5\xe6\x9c\xac: \"\"\r\n", "*ja.PageSize A4/\xe6\x97\xa5\xe6\x9c\xac: \"\"\r\n\n"},
      {"\xef\xbb\xbf" "caf\xc3\xa9 \xf0\x9f\x96\xa8", "\xef\xbb\xbf" "caf\xc3\xa9 \xf0\x9f\x96\xa8\n"},
      {"", ""},
  };
  for (const Case& c : cases) {
    const UString text = U(c.text);
    EXPECT_EQ(Capture([&](FILE* f) { EXPECT_TRUE(CFStringOutputPPD(text, f)); }), c.want);
  }
}

TEST(CFStringOutputPPD, LargeTextKeepsSurrogatePairsAcrossSlices) {
  // Surrogate pairs straddle every slice boundary at some offset.
  std::string text(65535, 'a');
  for (int i = 0; i < 40000; ++i) text += "\xf0\x9f\x96\xa8";
  const UString wide = U(text);
  EXPECT_EQ(Capture([&](FILE* f) { EXPECT_TRUE(CFStringOutputPPD(wide, f)); }), text + "\n");
}

TEST(CFStringOutputPPD, UnencodableTextWritesNothing) {
  const UString broken = u"abc\xD800";
  EXPECT_EQ(Capture([&](FILE* f) { CFStringOutputPPD(broken, f); }), "");
}

TEST(CFStringOutputPPD, ReportsWriteFailure) {
  std::unique_ptr<FILE, FileCloser> full(std::fopen("/dev/full", "w"));
  ASSERT_TRUE(full);
  EXPECT_FALSE(CFStringOutputPPD(u"*PPD-Adobe: \"4.3\"\n", full.get()));
}

TEST(QZDebugPrintCFStringRef, MarkersAndNonAscii) {
  const UString abc = u"abc", empty, japanese = U("\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e");
  EXPECT_EQ(Capture([&](FILE* f) { QZDebugPrintCFStringRef(&abc, f); }),
            "Ready to show CFStringRef:{\"abc\"}\n");
  EXPECT_EQ(Capture([&](FILE* f) { QZDebugPrintCFStringRef(&empty, f); }),
            "Ready to show CFStringRef:\"<none!>\"}\n");
  EXPECT_EQ(Capture([&](FILE* f) { QZDebugPrintCFStringRef(&japanese, f); }),
            "Ready to show CFStringRef:{\"\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\"}\n");
}
