// Writing the text out: its bytes and one newline, or nothing at all.
#include "ppdio/ppd_output.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "test_support.h"

TEST(Output, Utf8AndOneNewlineOrNothingAndTheDebugLine) {
  const ScratchDir dir;
  const auto capture = [&](auto write) {  // what `write` writes to a stream
    FILE* stream = std::fopen((dir.path() + "/out").c_str(), "w");
    write(stream);
    std::fclose(stream);
    return ReadFile(dir.path() + "/out");
  };
  // The output is the text's UTF-8 (checked above) and one newline, or nothing, which also checks that
  // the lone surrogates do not encode. The large text has surrogate pairs across the slice boundaries.
  UString large(65535, u'a');
  for (int i = 0; i < 40000; ++i) large += i % 2 ? u"\U0001F5A8" : u"\U0001F5A8a";
  for (const UString& text : {UString(u"*PPD-Adobe: \"4.3\""), UString(u"line\n"), UString(), large, UString(u"\xDFFF"),
                              UString(u"*ja.PageSize A4/\u65e5\u672c\r\n\ufeffcaf\u00e9 \U0001F5A8\uE000"),
                              UString(u"abc\xD800"), UString(u"abcdefgh\xD800ijklmnop"), UString(u"\xDC00\xDC00"), UString(u"a\xD800\xD800\xDC00\U00010000"),
                              UString(u"last plane \U0010FFFF")}) {
    const std::optional<std::string> utf8 = text.empty() ? std::nullopt : StringCopyUTF8(text);
    EXPECT_EQ(capture([&](FILE* f) { EXPECT_TRUE(CFStringOutputPPD(text, f)); }), utf8 ? *utf8 + "\n" : "");
    EXPECT_EQ(capture([&](FILE* f) { QZDebugPrintCFStringRef(&text, f); }),
              "Ready to show CFStringRef:" + (utf8 ? "{\"" + *utf8 + "\"}\n" : "\"<none!>\"}\n"));
  }
  EXPECT_EQ(capture([&](FILE* f) { QZDebugPrintCFStringRef(nullptr, f); }), "Ready to show CFStringRef:\"<none!>\"}\n");
}
