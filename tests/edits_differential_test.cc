// The recorded deletions and rewrites must give exactly the results of the
// straightforward forms in reference_edits.h, alone and as a run makes them
// one after another on one TextEdits: on the examples, on a generated large
// PPD, and on many small texts made to hit mixed line ends, multi-line
// values, *End lines, comments, quotes before colons and half-finished
// statements.
#include <gtest/gtest.h>

#include <random>

#include "generated_texts.h"
#include "large_ppd.h"
#include "ppdtext/default_rewrite.h"
#include "ppdtext/line_deletion.h"
#include "ppdtext/option_deletion.h"
#include "reference_edits.h"
#include "test_support.h"

namespace {

const std::vector<UString> kNames = {u"A4", u"B5", u"EnvC5", u"Postcard", u"3x5", u"", u"A4Small", u"A 4"};

void ExpectSameAsReference(const UString& text, const std::vector<UString>& names, UStringView keyword) {
  UString fast[6] = {text, text, text, text, text, text}, simple[6] = {text, text, text, text, text, text};
  QZCFStringDeletePaperSizeArray(fast[0], &names);
  for (const UString& name : names) SimpleDeletePaperSize(simple[0], name);
  QZCFStringDeleteKeywordOption(fast[1], keyword, names[0]);
  SimpleDeleteKeywordOption(simple[1], keyword, names[0]);
  QZCFStringDeleteEnvelpes(fast[2], names);
  SimpleDeleteEnvelpes(simple[2], names);
  QZCFStringChangeDefault(fast[3], u"Duplex", u"DuplexNoTumble");
  SimpleChangeDefault(simple[3], u"Duplex", u"DuplexNoTumble");
  // A run: papers first, then both rewrites, on one index.
  RecordedRunEdits(fast[4], names);
  SimpleRunEdits(simple[4], names);
  // The other way round: deletions after a rewrite, next to the replacing line.
  TextEdits rewritten_first(text);
  ChangeDefault(rewritten_first, u"Duplex", u"DuplexNoTumble");
  DeletePaperSizes(rewritten_first, std::vector<UStringView>(names.begin(), names.end()));
  rewritten_first.ApplyTo(fast[5]);
  SimpleChangeDefault(simple[5], u"Duplex", u"DuplexNoTumble");
  for (const UString& name : names) SimpleDeletePaperSize(simple[5], name);
  for (int i = 0; i < 6; ++i) ASSERT_EQ(fast[i], simple[i]) << "edit " << i << " of:\n" << Utf8(text).substr(0, 2000);
}

}  // namespace

TEST(EditsDifferential, FastDeletionsMatchTheReference) {
  // A rewritten multi-line statement takes an `*End` that follows it once
  // the statements between are deleted, as in the text as it then stands.
  for (const char* text : {"*DefaultDuplex: \"\nx\"\n*PageSize A4/A4: \"x\"\n*End\n*DefaultPageSize: B5\n",
                           "*DefaultDuplex: None\n*PageSize A4/A4: \"\"\n*PageSize B5/B5: \"\"\n*DefaultDuplex: x\n",
                           "*ISOCountryCode: \"\r\nJP\"\r\n*PageSize B5: \"y\"\r\n*PageSize A4: \"\"\r\n*End\r\n",
                           "*DefaultQZDuplex: \"\rx\"\r*UIConstraints: *PageSize A4\r*End"}) {
    ASSERT_NO_FATAL_FAILURE(ExpectSameAsReference(U(text), {u"A4", u"B5"}, u"PageSize"));
  }
  std::mt19937 random(20261207);
  std::vector<std::string> texts = {ReadFile(ExamplePath("mono13.ppd")), MakeLargePPD(80000, true)};
  while (texts.size() < 5000) {
    texts.push_back(GeneratedPPDText(random));
  }
  for (const std::string& text : texts) {
    std::vector<UString> names;
    for (size_t n = 1 + random() % 4; n > 0; --n) names.push_back(kNames[random() % kNames.size()]);
    ASSERT_NO_FATAL_FAILURE(ExpectSameAsReference(U(text), names, random() % 2 ? u"PageSize" : u"PageRegion"));
  }
}
