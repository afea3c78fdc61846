// The edits of the PPD text, as rows of (text, edit, expected text).
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "ppdtext/comment_out.h"
#include "ppdtext/default_rewrite.h"
#include "ppdtext/line_deletion.h"
#include "ppdtext/option_deletion.h"
#include "ppdtext/option_occurrences.h"
#include "ppdtext/text_edits.h"
#include "test_support.h"

namespace {

using Edit = std::function<void(UString&)>;
Edit Option(const char16_t* k, const char16_t* o) { return [=](UString& t) { QZCFStringDeleteKeywordOption(t, k, o); }; }
Edit Papers(std::vector<UString> p) { return [=](UString& t) { QZCFStringDeletePaperSizeArray(t, &p); }; }
Edit Paper(const char16_t* p) { return [=](UString& t) { QZCFStringDeletePaperSize(t, p); }; }
Edit Lines(std::vector<UString> n) { return [=](UString& t) { QZCFStringDeleteEnvelpes(t, n); }; }
Edit CommentA4() { return [](UString& t) { QZCFStringCommentOutKeywordOption(t, u"PageSize", u"A4"); }; }
Edit Default(const char16_t* k, const char16_t* v) { return [=](UString& t) { QZCFStringChangeDefault(t, k, v); }; }
Edit General(const char16_t* k, const char16_t* v) { return [=](UString& t) { QZCFStringChangeGeneralInformation(t, k, v); }; }

using Case = std::tuple<const char*, std::string, Edit, std::string>;  // name, text, edit, result

const std::string kA4 = "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n";
const std::string kB5 = "*PageRegion B5/B5: \"\"\n*PageSize B5/B5: \"\"\n*PaperDimension B5/B5: \"516 729\"\n"
                        "*ImageableArea B5/B5: \"1 2 3 4\"\n*de.PageSize B5/B5: \"\"\n*UIConstraints: *PageRegion B5 *X Y\n";

const Case kCases[] = {
    {"option, translations and constraints go, in either order and with any blanks",
     "*PageSize Letter/L: \"\"\n" + kA4 + "*fr.PageSize A4/A4: \"\"\n*ja.PageSize A4/A4: \"\"\n"
     "*UIConstraints: *PageSize A4 *Duplex DuplexTumble\n*UIConstraints: *Duplex DuplexTumble *PageSize A4\n"
     "*cupsUIConstraints c: \"*Duplex None *PageSize A4\"\n*UIConstraints: *X LC1   *PageSize \t A4\t*Duplex None\n"
     "*OrderDependency: 10 AnySetup *PageSize A4 \n*UIConstraints: *Duplex None *PageSize A4",
     Option(u"PageSize", u"A4"), "*PageSize Letter/L: \"\"\n*OrderDependency: 10 AnySetup *PageSize A4 \n"},
    {"without its own statement nothing of an option goes",
     "*%*PageSize A4/old: \"\"\n*Note: \"*PageSize A4/ x\"\n*fr.PageSize A4/A4: \"\"\n*UIConstraints: *PageSize A4 *X Y\n",
     Option(u"PageSize", u"A4"),
     "*%*PageSize A4/old: \"\"\n*Note: \"*PageSize A4/ x\"\n*fr.PageSize A4/A4: \"\"\n*UIConstraints: *PageSize A4 *X Y\n"},
    {"the first of two option statements, one without translation text",
     "*PageSize A4: \"x\"\r\n" + kA4 + "*fr.PageSize A4/A4: \"\"\r*UIConstraints: *X Y *PageSize A4\r\n*Z: 1\r\n",
     Option(u"PageSize", u"A4"), kA4 + "*Z: 1\r\n"},
    {"longer options and other keywords' constraints stay",
     "*PageSize A4Small/S: \"\"\n*PaperDimension A4/A4: \"1 2\"\n*fr.PaperDimension A4/A4: \"\"\n"
     "*UIConstraints: *PaperDimension A4 *X Y\n*UIConstraints: *X Y *PageSize A4.Fullbleed\n",
     Option(u"PaperDimension", u"A4"),
     "*PageSize A4Small/S: \"\"\n*UIConstraints: *PaperDimension A4 *X Y\n*UIConstraints: *X Y *PageSize A4.Fullbleed\n"},
    {"constraints on longer options stay, as libcups reads them",
     kA4 + "*UIConstraints: *PageSize A4Small *X Y\n*UIConstraints: *X Y *PageSize A4/x\n*UIConstraints: *PageSize A4:x\n",
     Option(u"PageSize", u"A4"), "*UIConstraints: *PageSize A4Small *X Y\n*UIConstraints: *X Y *PageSize A4/x\n"
     "*UIConstraints: *PageSize A4:x\n"},
    {"a multi-line value goes whole, with its *End",
     "*PageSize A4/A4: \"\n  <</PageSize[595 842]>>\n  setpagedevice\"\n*End\n*PageSize B5/B5: \"\"\n",
     Option(u"PageSize", u"A4"), "*PageSize B5/B5: \"\"\n"},
    {"a line that closes the value and opens it again extends it",
     "*PageSize A4/A4: \"\nx\" *Foo: \"\ny\"\n*End\n*Next: 1\n", Option(u"PageSize", u"A4"), "*Next: 1\n"},
    {"a value that never closes stays, and so does all after it",
     "*PageSize A4/A4: \"open\n*fr.PageSize A4/A4: \"\"\n", Option(u"PageSize", u"A4"),
     "*PageSize A4/A4: \"open\n*fr.PageSize A4/A4: \"\"\n"},
    {"quotes before the colon do not count: an odd count after it opens a value",
     "*PageSize B5/B \"5:x\"\n*PageSize A4/A4: \"a\n*PageSize C5/C5: \"\"\n", Option(u"PageSize", u"B5"),
     "*PageSize C5/C5: \"\"\n"},
    {"quotes before the colon do not count: an even count after it closes the line",
     "*PageSize B5/B 7.25\" wide: \"x\"\n*PageSize A4/A4: \"\n\"\n", Option(u"PageSize", u"B5"),
     "*PageSize A4/A4: \"\n\"\n"},
    {"a pattern inside another statement's value is not matched",
     "*PageSize B5/B \"5:x\"\n*PageSize A4/A4: \"a\n*fr.PageSize A4/A4: \"\"\n", Option(u"PageSize", u"A4"),
     "*PageSize B5/B \"5:x\"\n*PageSize A4/A4: \"a\n*fr.PageSize A4/A4: \"\"\n"},
    {"no quote counts in a comment", "*%Note: \"open\n" + kA4, Option(u"PageSize", u"A4"), "*%Note: \"open\n"},
    {"a comment is one past U+001A too", "\x1A*\x1A%Note: \"open\n" + kA4, Option(u"PageSize", u"A4"),
     "\x1A*\x1A%Note: \"open\n"},
    {"papers from all four keywords, in order; a default paper stays",
     "*DefaultPageSize: A4\n" + kB5 + "*PageSize B6/B6: \"\"\n*Rest: 1\n", Papers({u"B6", u"", u"x\ny", u"B5"}),
     "*DefaultPageSize: A4\n*Rest: 1\n"},
    {"one paper alone: a default paper stays too", "*DefaultPageSize: B5\n" + kB5, Paper(u"B5"),
     "*DefaultPageSize: B5\n" + kB5},
    {"a default without a blank after its colon keeps the paper", "*DefaultPageSize:B5\n" + kB5, Papers({u"B5"}),
     "*DefaultPageSize:B5\n" + kB5},
    {"a default in any paper keyword keeps the paper, a commented one does not",
     "*DefaultImageableArea:\t B5 \r\n*% *DefaultPageSize: B6\n*PageSize B6/B6: \"\"\n" + kB5,
     Papers({u"B5", u"B6"}), "*DefaultImageableArea:\t B5 \r\n*% *DefaultPageSize: B6\n" + kB5},
    {"lines naming a name in any role go, names in order",
     "*DefaultPageSize: EnvC5\n*PageSize EnvC5Rotated/R: \"\"\n*% EnvC5 here\n*PageSize EnvDL/DL: \"\n<<>>\n\"\n*End\n"
     "*X: \"\nEnvYou4\n\"\n*PageSize A4/A4: \"\"\n",
     Lines({u"EnvC5", u"", u"EnvDL", u"EnvYou4", u"A4: \"\"\n"}), "*X: \"\nEnvYou4\n\"\n*PageSize A4/A4: \"\"\n"},
    {"a structural statement stays whatever it names",
     "*PPD-Adobe: \"4.3 EnvC5\"\n*OpenUI *EnvC5Feed/C5: PickOne\n*EnvC5Feed On/On: \"\"\n*CloseUI: *EnvC5Feed\n",
     Lines({u"EnvC5"}), "*PPD-Adobe: \"4.3 EnvC5\"\n*OpenUI *EnvC5Feed/C5: PickOne\n*CloseUI: *EnvC5Feed\n"},
    {"the first auto-setup statement", "*A: 1\n*QzAutoSetup: True\n*QzAutoSetup: False\n",
     [](UString& t) { QZCFStringDeleteAutoSetup(t); }, "*A: 1\n*QzAutoSetup: False\n"},
    {"comment-out: every asterisk of the option, the leading one of translations",
     "*%*PageSize A4/old: \"\"\n*PageSize A4/A4: \"*x\"\n*fr.PageSize A4/A4: \"*\"\n x.PageSize A4/A4\n"
     "*UIConstraints: *PageSize A4 *Duplex None\n",
     CommentA4(),
     "*%*PageSize A4/old: \"\"\n*%PageSize A4/A4: \"*%x\"\n*%fr.PageSize A4/A4: \"*\"\n x.PageSize A4/A4\n"
     "*UIConstraints: *PageSize A4 *Duplex None\n"},
    {"comment-out: a translation inside another statement's value is passed over, not the end of the search",
     "*PageSize A4/A4: \"\"\n*X: \"\n*fr.PageSize A4/A4\"\n*de.PageSize A4/A4: \"\"\n", CommentA4(),
     "*%PageSize A4/A4: \"\"\n*X: \"\n*fr.PageSize A4/A4\"\n*%de.PageSize A4/A4: \"\"\n"},
    {"comment-out: a multi-line statement becomes comments whole",
     "*ja.PageSize A4/A4: \"\r\n\"\r\n*PageSize A4: \"\nx\"\n*End\n", CommentA4(),
     "*%ja.PageSize A4/A4: \"\r\n*%\"\r\n*%PageSize A4: \"\n*%x\"\n*%*End\n"},
    {"default: the statement, whole, ending in LF",
     "*% *DefaultDuplex: old\n*DefaultDuplexMode: x\n*DefaultDuplex: \"\n a\" \"b\n c\"\n*End\r\n*B: 2",
     Default(u"Duplex", u"DuplexNoTumble"), "*% *DefaultDuplex: old\n*DefaultDuplexMode: x\n*DefaultDuplex: DuplexNoTumble\n*B: 2"},
    {"default: the last line without terminator, an empty value", "*B: 2\n*DefaultDuplex: None",
     Default(u"Duplex", u""), "*B: 2\n*DefaultDuplex: \n"},
    {"default: the vendor form when the plain one is missing", "*DefaultQZDuplex: None\r\n",
     Default(u"Duplex", u"DuplexNoTumble"), "*DefaultQZDuplex: DuplexNoTumble\n"},
    {"default: no retry for a vendor keyword, nothing added", "*DefaultQZQZDuplex: None\n*Duplex: x\n",
     Default(u"QZDuplex", u"X"), "*DefaultQZQZDuplex: None\n*Duplex: x\n"},
    {"default: a value that never closes counts as found and stays", "*DefaultQZDuplex: None\n*DefaultDuplex: \"x\n",
     Default(u"Duplex", u"DuplexNoTumble"), "*DefaultQZDuplex: None\n*DefaultDuplex: \"x\n"},
    {"default: an empty keyword", "*DefaultX: 1\n*Default: 2\n", Default(u"", u"v"), "*DefaultX: 1\n*Default: v\n"},
    {"general: the statement, not a longer keyword", "*QZISOCountryCode: \"JP\"\n*ISOCountryCode: \"JP\"\r\n",
     General(u"ISOCountryCode", u"TW"), "*QZISOCountryCode: \"JP\"\n*ISOCountryCode: \"TW\"\n"},
    {"general: absent, nothing is added", "*A: 1\n", General(u"ISOCountryCode", u"FR"), "*A: 1\n"},
    {"papers: only the four paper keywords, not an empty one", "* A4/A4: \"\"\n*PageSize A4/A4: \"\"\n",
     Papers({u"A4"}), "* A4/A4: \"\"\n"},
    {"papers: an empty name and one that starts beyond ASCII",
     "*PageSize /none: \"\"\n*PageSize \u00c4x/\u00c4x: \"\"\n*PageSize Ax/Ax: \"\"\n", Papers({u"", u"\u00c4x"}),
     "*PageSize Ax/Ax: \"\"\n"},
};

}  // namespace

TEST(Edits, Table) {
  for (const auto& [name, before, edit, after] : kCases) {
    UString text = U(before);
    edit(text);
    EXPECT_EQ(Utf8(text), after) << name;
  }
}

// Options under more keywords than the scan's fast path tells apart (five
// different second characters) are found as under each keyword alone.
TEST(Edits, OccurrencesUnderManyKeywords) {
  const UString text = U("*PageSize A4/A4: \"\"\n*ImageableArea A4: \"\"\n*fr.Duplex A4/x: \"\"\n"
                         "*Resolution  A4\n*MediaType \u00c4x/y: \"\"\n*OpenUI *Q: x\n*Media /e: \"\"\n");
  const UStringView keywords[] = {u"PageSize", u"ImageableArea", u"Duplex", u"Resolution", u"MediaType", u"Media"};
  const UStringView options[] = {u"A4", u"\u00c4x", u""};
  const OptionOccurrences all = FindOptionOccurrences(text, keywords, options);
  for (size_t k = 0; k < std::size(keywords); ++k) {
    const OptionOccurrences alone = FindOptionOccurrences(text, {&keywords[k], 1}, options);
    for (size_t o = 0; o < std::size(options); ++o) {
      std::vector<size_t> expected, got;
      for (const OptionOccurrence& x : alone.options[o]) expected.push_back(x.at);
      for (const OptionOccurrence& x : all.options[o]) {
        if (x.keyword == k) got.push_back(x.at);
      }
      EXPECT_EQ(got, expected) << Utf8(keywords[k]) << " " << Utf8(options[o]);
    }
  }
  EXPECT_EQ(all.options[0].size(), 4u);  // A4 under PageSize, ImageableArea, Duplex and Resolution
  EXPECT_EQ(all.options[1].size(), 1u);
  EXPECT_EQ(all.options[2].size(), 2u);  // the empty one after `*Media ` and after `*Resolution `
}

// A scan made ahead answers only for the keywords it looked under: options
// under other keywords are found in the text, as without the scan.
TEST(Edits, ScanAheadAnswersOnlyForItsKeywords) {
  const UString text = U("*PageSize A4/A4: \"\"\n*PageRegion A4/A4: \"\"\n*DefaultPageSize: A4\n");
  const UStringView size[] = {u"PageSize"}, region[] = {u"PageRegion"}, a4[] = {u"A4"};
  const UStringView heads[] = {u"*DefaultPageSize:"};
  TextEdits edits(text);
  edits.ScanAhead(size, a4, heads);
  for (const auto keywords : {std::span<const UStringView>(size), std::span<const UStringView>(region)}) {
    const OptionOccurrences found = edits.FindOptions(keywords, a4, heads);
    const OptionOccurrences fresh = FindOptionOccurrences(text, keywords, a4, heads);
    ASSERT_EQ(found.options.size(), 1u);
    ASSERT_EQ(found.options[0].size(), fresh.options[0].size()) << Utf8(keywords[0]);
    EXPECT_EQ(found.options[0][0].at, fresh.options[0][0].at) << Utf8(keywords[0]);
    EXPECT_EQ(found.heads, fresh.heads);
  }
}
