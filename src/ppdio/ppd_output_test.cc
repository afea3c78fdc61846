// Writing the text out: its bytes and one newline, or nothing at all; the
// edited text written piece by piece as the edited text put together.
#include "ppdio/ppd_output.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "ppdio/ppd_load.h"
#include "ppdtext/default_rewrite.h"
#include "ppdtext/option_deletion.h"
#include "test_support.h"

namespace {

// What `write` puts into a stream.
std::string Written(const std::function<bool(FILE*)>& write) {
  char* data = nullptr;
  size_t size = 0;
  FILE* file = open_memstream(&data, &size);
  EXPECT_TRUE(write(file));
  std::fclose(file);
  std::string out(data, size);
  std::free(data);
  return out;
}

std::string Repeated(const std::string& line, size_t times) {
  std::string text;
  while (times-- > 0) text += line;
  return text;
}

}  // namespace

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

TEST(Output, EditedPiecesAsTheEditedTextEncoded) {
  const std::string papers = "*PageSize A4/A4: \"\"\n*fr.PageSize A4/A4 \xc3\xa9: \"\"\n*PageSize B5/B5: \"\"\r\n";
  const struct {
    const char* name;
    std::string bytes;
    UStringView country;  // what ISOCountryCode becomes
  } kCases[] = {
      {"ascii", "*PPD-Adobe: \"4.3\"\n*DefaultDuplex: None\n*PageSize A4/A4: \"\"\n*ISOCountryCode: \"JP\"\n", u"DE"},
      {"utf-8", "*PPD-Adobe: \"4.3\"\n*% \xe6\x97\xa5\xf0\x9d\x84\x9e\xc2\x80\xdf\xbf\xe0\xa0\x80\n" + papers + "*DefaultDuplex: \"\n\xc3\xa9\"\n*End\n" +
                    "*ISOCountryCode: \"JP\"\r*Note: \"\xf0\x9d\x84\x9e\"",
       u"DE"},
      {"bytes", "*PPD-Adobe: \"4.3\"\n*% \xe9\xff\n" + papers + "*ISOCountryCode: \"JP\"\n*Note: \"\xe9\"\n", u"DE"},
      {"bytes, a line that does not encode", "*PPD-Adobe: \"4.3\"\n*% \xe9\n*ISOCountryCode: \"JP\"\n", u"\u4e2d"},
      {"all deleted", "*PageSize A4/A4: \"\"\n*PageSize B5/B5: \"\"", u"DE"},
      {"many pieces", Repeated("*PageSize A4/A4: \"\"\n*Keep: \"\xc3\xa9\"\n", 1500), u"DE"},
      {"past a slice", Repeated("*Keep: \"" + std::string(1000, 'x') + "\"\n*PageSize B5/B5: \"\"\n", 300) +
                           "*ISOCountryCode: \"JP\"\n", u"DE"},
  };
  const UStringView papers_to_delete[] = {u"A4", u"B5"};
  for (const auto& c : kCases) {
    std::optional<PPDText> text = DecodePPDBytes(c.bytes);
    ASSERT_TRUE(text) << c.name;
    for (const bool rewrite : {false, true}) {
      TextEdits edits(text->text);
      DeletePaperSizes(edits, papers_to_delete);
      if (rewrite) {
        ChangeDefault(edits, u"Duplex", u"DuplexNoTumble");
        ChangeGeneralInformation(edits, u"ISOCountryCode", c.country);
      }
      UString edited = text->text;
      edits.ApplyTo(edited);
      for (const FinalNewline newline : {FinalNewline::kAlways, FinalNewline::kUnlessAtLineEnd}) {
        EXPECT_EQ(Written([&](FILE* out) { return OutputEditedPPD(edits, out, text->encoding, newline); }),
                  Written([&](FILE* out) { return CFStringOutputPPD(edited, out, text->encoding, newline); }))
            << c.name << (rewrite ? ", rewritten" : "");
      }
    }
  }
}
