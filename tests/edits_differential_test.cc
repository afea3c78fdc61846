// The fast deletions must give exactly the results of the straightforward
// forms in simple_edits.h: on generated large PPDs, on the examples, and on
// many small texts made to hit mixed line ends, multi-line values, *End
// lines, duplicated and half-finished statements.
#include <gtest/gtest.h>

#include <random>

#include "large_ppd.h"
#include "ppdtext/line_deletion.h"
#include "ppdtext/option_deletion.h"
#include "reference_edits.h"
#include "test_support.h"

namespace {

const std::vector<UString> kNames = {u"A4",      u"B5",       u"EnvC5",  u"Postcard", u"3x5",
                                     u"EnvYou4", u"Executive", u"Env10", u"A4Small",  u""};
const UStringView kKeywords[] = {u"PageSize", u"PageRegion", u"PaperDimension", u"ImageableArea", u"Duplex"};

// Pieces of PPD text from which the small texts are assembled.
const char* const kPieces[] = {
    "*PageSize A4/A4: \"x\"", "*PageSize B5: \"y\"", "*PageRegion EnvC5/C5: \"\"", "*fr.PageSize A4/A4: \"\"",
    "*ja.PageRegion B5/B5: \"\"", "*UIConstraints: *PageSize A4 *Duplex DuplexTumble",
    "*UIConstraints: *Duplex DuplexTumble *PageSize B5", "*UIConstraints: *PageRegion EnvC5\t*Duplex None",
    "*cupsUIConstraints a: \"*Duplex None *PageSize A4\"", "*OrderDependency: 1 AnySetup *PageSize A4 ",
    "*PaperDimension A4/A4: \"595 842\"", "*ImageableArea Postcard/P: \"1 2\"", "*PageSize Postcard/P: \"",
    "  <</PageSize[1 2]>>", "setpagedevice\"", "\" *Other: \"", "*End", "*DefaultPageSize: B5",
    "*DefaultPageRegion: \t3x5 ", "*PageSize 3x5/3x5: \"\"", "*% EnvC5 and EnvYou4 here", "*PageSize EnvYou4/Y: \"\"",
    "*PageSize A4Small/A4S: \"\"", "*PageSize  /empty: \"\"", "*PageSize /slash: \"\"", "*Duplex None/Off: \"\"",
    "*PageSize Executive/E: \"\"", "*PageSize Env10/10: \"", "", "\"", "*UIConstraints: *PageSize 3x5",
    "*%*PageSize A4/old: \"\"", " *PageSize B5/B5: \"\"", "*Note: \"*PageSize EnvC5/ quoted\"",
};
const char* const kTerminators[] = {"\n", "\r\n", "\r", "\n", "\n", "\r"};

std::string SmallText(std::mt19937& random) {
  std::string text;
  const size_t lines = random() % 24;
  for (size_t i = 0; i < lines; ++i) {
    text += kPieces[random() % std::size(kPieces)];
    if (i + 1 < lines || random() % 3 != 0) text += kTerminators[random() % std::size(kTerminators)];
  }
  return text;
}

std::vector<UString> SomeNames(std::mt19937& random) {
  std::vector<UString> names;
  for (size_t n = 1 + random() % 4; n > 0; --n) names.push_back(kNames[random() % kNames.size()]);
  return names;
}

// Every fast operation against its straightforward form on one text.
void ExpectSameAsSimple(const UString& original, const std::vector<UString>& names, UStringView keyword) {
  const std::string where = Utf8(original).substr(0, 2000);
  UString fast = original, simple = original;
  QZCFStringDeletePaperSizeArray(fast, &names);
  for (const UString& name : names) SimpleDeletePaperSize(simple, name);
  ASSERT_EQ(fast, simple) << "paper sizes " << Utf8(names[0]) << " in:\n" << where;

  fast = simple = original;
  QZCFStringDeleteKeywordOption(fast, keyword, names[0]);
  SimpleDeleteKeywordOption(simple, keyword, names[0]);
  ASSERT_EQ(fast, simple) << "option " << Utf8(keyword) << " " << Utf8(names[0]) << " in:\n" << where;

  fast = simple = original;
  QZCFStringDeleteEnvelpes(fast, names);
  SimpleDeleteEnvelpes(simple, names);
  ASSERT_EQ(fast, simple) << "lines naming " << Utf8(names[0]) << " in:\n" << where;
}

}  // namespace

TEST(EditsDifferential, SmallTextsWithEveryLineEndAndValueShape) {
  std::mt19937 random(20261206);
  for (int i = 0; i < 6000; ++i) {
    const UString text = U(SmallText(random));
    const std::vector<UString> names = SomeNames(random);
    ExpectSameAsSimple(text, names, kKeywords[random() % std::size(kKeywords)]);
    if (HasFatalFailure()) return;
  }
}

TEST(EditsDifferential, ExamplesAndGeneratedPPDs) {
  std::vector<std::string> texts = {ReadFile(ExamplePath("mono13.ppd")), ReadFile(ExamplePath("color-laser.ppd")),
                                    MakeLargePPD(120000, false), MakeLargePPD(80000, true)};
  std::mt19937 random(7);
  for (const std::string& text : texts) {
    const UString original = U(text);
    for (int i = 0; i < 6; ++i) {
      ExpectSameAsSimple(original, SomeNames(random), kKeywords[i % std::size(kKeywords)]);
      if (HasFatalFailure()) return;
    }
    const std::vector<UString> japan = {u"Executive", u"210x270mm", u"195x270mm", u"184x260mm", u"197x273mm",
                                        u"ISOB5", u"3x5", u"FanFoldGermanLegal", u"Env10", u"EnvDL", u"EnvC5",
                                        u"EnvMonarch", u"EnvPRC5Rotated"};
    ExpectSameAsSimple(original, japan, u"PageSize");
  }
}
