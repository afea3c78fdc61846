#include "ppdtext/option_deletion.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

struct Case {
  const char* name;
  std::string text;
  const char16_t* keyword;
  const char16_t* option;
  std::string want;
};

const std::string kA4 = "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n";

}  // namespace

TEST(QZCFStringDeleteKeywordOption, Table) {
  const Case cases[] = {
      {"option, translations and both constraint orders go",
       "*PageSize Letter/Letter: \"\"\n" + kA4 +
           "*fr.PageSize A4/A4 fr: \"\"\n*ja.PageSize A4/A4 ja: \"\"\n"
           "*UIConstraints: *PageSize A4 *Duplex DuplexTumble\n"
           "*UIConstraints: *Duplex DuplexTumble *PageSize A4\n"
           "*DefaultPageSize: Letter\n",
       u"PageSize", u"A4",
       "*PageSize Letter/Letter: \"\"\n*DefaultPageSize: Letter\n"},
      {"without an option line nothing goes",
       "*fr.PageSize A4/A4: \"\"\n*UIConstraints: *PageSize A4 *Duplex DuplexTumble\n",
       u"PageSize", u"A4",
       "*fr.PageSize A4/A4: \"\"\n*UIConstraints: *PageSize A4 *Duplex DuplexTumble\n"},
      {"a comment or a quoted pattern is not the option's line",
       "*%*PageSize A4/A4 old: \"\"\n*Note: \"*PageSize A4/ here\"\n" + kA4 + "*fr.PageSize A4/A4: \"\"\n",
       u"PageSize", u"A4", "*%*PageSize A4/A4 old: \"\"\n*Note: \"*PageSize A4/ here\"\n"},
      {"an option line without translation text counts",
       "*PageSize A4: \"x\"\n*fr.PageSize A4/A4: \"\"\n*UIConstraints: *Duplex DuplexTumble *PageSize A4\n",
       u"PageSize", u"A4", ""},
      {"only the first of two option lines goes",
       kA4 + kA4, u"PageSize", u"A4", kA4},
      {"prefixes of longer options are not matched",
       "*PageSize A4Small/A4 Small: \"\"\n*PageSize A4.Fullbleed/A4 FB: \"\"\n" + kA4 +
           "*fr.PageSize A4Small/A4 p: \"\"\n*UIConstraints: *PageSize A4Small *Duplex DuplexTumble\n"
           "*UIConstraints: *Duplex DuplexTumble *PageSize A4.Fullbleed\n",
       u"PageSize", u"A4",
       "*PageSize A4Small/A4 Small: \"\"\n*PageSize A4.Fullbleed/A4 FB: \"\"\n"
       "*fr.PageSize A4Small/A4 p: \"\"\n*UIConstraints: *PageSize A4Small *Duplex DuplexTumble\n"
       "*UIConstraints: *Duplex DuplexTumble *PageSize A4.Fullbleed\n"},
      {"quoted cupsUIConstraints and tab-ended constraints go",
       kA4 + "*cupsUIConstraints c1: \"*Duplex DuplexTumble *PageSize A4\"\n"
             "*UIConstraints: *PageSize A4\t*Duplex DuplexTumble\n"
             "*UIConstraints: *Duplex DuplexTumble *PageSize A4",
       u"PageSize", u"A4", ""},
      {"a line with the pattern but no marker stays",
       kA4 + "*OrderDependency: 10 AnySetup *PageSize A4 \n*UIConstraints: *PageSize A4 *Duplex None\n",
       u"PageSize", u"A4", "*OrderDependency: 10 AnySetup *PageSize A4 \n"},
      {"other keywords touch no constraint line",
       "*PaperDimension A4/A4: \"595 842\"\n*fr.PaperDimension A4/A4: \"\"\n"
       "*UIConstraints: *PaperDimension A4 *Duplex None\n",
       u"PaperDimension", u"A4", "*UIConstraints: *PaperDimension A4 *Duplex None\n"},
      {"a multi-line value goes whole, with its *End",
       "*PageSize A4/A4: \"\n  <</PageSize[595 842]>>\n  setpagedevice\"\n*End\n*PageSize B5/B5: \"\"\n",
       u"PageSize", u"A4", "*PageSize B5/B5: \"\"\n"},
      {"a line that closes the value and opens it again extends it, as libcups reads it",
       "*PageSize A4/A4: \"\nx\" *Foo: \"\ny\"\n*End\n*Next: 1\n",
       u"PageSize", u"A4", "*Next: 1\n"},
      {"an unclosed value removes only its line",
       "*PageSize A4/A4: \"open\n*Next: 1\n", u"PageSize", u"A4", "*Next: 1\n"},
      {"CR LF and CR terminators",
       "*PageSize A4/A4: \"\"\r\n*fr.PageSize A4/A4: \"\"\r*UIConstraints: *Duplex None *PageSize A4\r\n*X: 1\r\n",
       u"PageSize", u"A4", "*X: 1\r\n"},
      {"the last line without a terminator",
       "*X: 1\n*PageSize A4/A4: \"\"", u"PageSize", u"A4", "*X: 1\n"},
  };
  for (const Case& c : cases) {
    UString text = U(c.text);
    QZCFStringDeleteKeywordOption(text, c.keyword, c.option);
    EXPECT_EQ(Utf8(text), c.want) << c.name;
  }
}

TEST(QZCFStringDeletePaperSize, AllFourKeywordsButNeverTheDefault) {
  const std::string b5 =
      "*PageRegion B5/B5: \"\"\n*PageSize B5/B5: \"\"\n*PaperDimension B5/B5: \"516 729\"\n"
      "*ImageableArea B5/B5: \"12 12 504 717\"\n*de.PageSize B5/B5: \"\"\n"
      "*UIConstraints: *PageRegion B5 *Duplex None\n";
  UString text = U("*DefaultPageSize: A4\n" + b5 + "*Rest: 1\n");
  QZCFStringDeletePaperSize(text, u"B5");
  EXPECT_EQ(Utf8(text), "*DefaultPageSize: A4\n*Rest: 1\n");

  for (const char* defaults : {"*DefaultPageSize: B5\n", "*DefaultImageableArea:\t B5 \r\n",
                               "*DefaultPageRegion: B5"}) {
    UString kept = U(std::string(defaults) + "\n" + b5);
    const UString before = kept;
    QZCFStringDeletePaperSize(kept, u"B5");
    EXPECT_EQ(kept, before) << defaults;
  }
  UString comment_only = U("*% *DefaultPageSize: B5\n" + b5);
  QZCFStringDeletePaperSize(comment_only, u"B5");
  EXPECT_EQ(Utf8(comment_only), "*% *DefaultPageSize: B5\n");
}

TEST(QZCFStringDeletePaperSizeArray, InOrderAndNull) {
  UString text = U("*PageSize B5/B5: \"\"\n*PageSize A5/A5: \"\"\n*PageSize B6/B6: \"\"\n");
  const UString before = text;
  QZCFStringDeletePaperSizeArray(text, nullptr);
  EXPECT_EQ(text, before);
  const std::vector<UString> papers = {u"B6", u"Missing", u"", u"B5"};
  QZCFStringDeletePaperSizeArray(text, &papers);
  EXPECT_EQ(Utf8(text), "*PageSize A5/A5: \"\"\n");
}

// Deleting any one paper size from a real PPD leaves a PPD that libcups opens
// and that no longer offers that size (unless it is the default).
TEST(QZCFStringDeletePaperSize, ExamplesStayValid) {
  for (const char* example : {"mono13.ppd", "color-laser.ppd"}) {
    const std::string original = ReadFile(ExamplePath(example));
    PPDFile ppd = OpenPPDText(original);
    ASSERT_TRUE(ppd) << example;
    ppd_option_t* sizes = ppdFindOption(ppd.get(), "PageSize");
    ASSERT_NE(sizes, nullptr);
    for (int i = 0; i < sizes->num_choices; ++i) {
      const std::string choice = sizes->choices[i].choice;
      if (choice == "Custom") continue;  // made by libcups from *CustomPageSize
      UString text = U(original);
      QZCFStringDeletePaperSize(text, U(choice));
      PPDFile edited = OpenPPDText(Utf8(text));
      ASSERT_TRUE(edited) << example << " without " << choice;
      const bool is_default = choice == sizes->defchoice;
      EXPECT_EQ(ppdFindChoice(ppdFindOption(edited.get(), "PageSize"), choice.c_str()) != nullptr,
                is_default)
          << example << " without " << choice;
    }
  }
}
