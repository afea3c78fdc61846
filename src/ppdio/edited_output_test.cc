// Writing the edited text from the bytes as read must give exactly what
// encoding the edited text gives: in UTF-8 with and without characters
// beyond ASCII, in bytes taken one per code unit, with replacing lines, with
// many pieces, across the batches of the file's bytes, and to streams with and
// without a descriptor.
#include "ppdio/edited_output.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "ppdtext/default_rewrite.h"
#include "ppdtext/option_deletion.h"
#include "ppdio/ppd_load.h"
#include "ppdio/ppd_output.h"
#include "test_support.h"

namespace {

// What `write` puts into a stream: a temporary file (which has a
// descriptor) when `with_fd`, else a memory stream (which has none).
std::string Written(bool with_fd, const std::function<bool(FILE*)>& write) {
  if (with_fd) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), std::fclose);
    EXPECT_TRUE(write(file.get()));
    std::fflush(file.get());
    std::rewind(file.get());
    std::string out;
    for (int c; (c = std::fgetc(file.get())) != EOF;) out.push_back(static_cast<char>(c));
    return out;
  }
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

TEST(EditedOutput, SameAsTheEditedTextEncoded) {
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
      {"past a batch", Repeated("*Keep: \"" + std::string(1000, 'x') + "\"\n*PageSize B5/B5: \"\"\n", 3000) +
                           "*ISOCountryCode: \"JP\"\n", u"DE"},
  };
  const UStringView papers_to_delete[] = {u"A4", u"B5"};
  for (const auto& c : kCases) {
    std::optional<PPDBytes> bytes = PPDBytesFromMemory(c.bytes);
    ASSERT_TRUE(bytes);
    std::optional<PPDText> text = DecodePPDBytes(*bytes);
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
      const std::string expected =
          Written(false, [&](FILE* out) { return CFStringOutputPPD(edited, out, text->encoding); });
      for (const bool with_fd : {true, false}) {
        EXPECT_EQ(Written(with_fd, [&](FILE* out) { return OutputEditedPPD(edits, *bytes, text->encoding, out); }),
                  expected)
            << c.name << (rewrite ? ", rewritten" : "") << (with_fd ? ", to a file" : ", to memory");
      }
    }
  }
}
