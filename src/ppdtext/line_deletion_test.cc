#include "ppdtext/line_deletion.h"

#include <gtest/gtest.h>

#include "test_support.h"

TEST(QZCFStringDeleteEnvelpes, EveryLineMentioningANameGoes) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<UString> names;
    std::string want;
  } cases[] = {
      {"any role, longer words included",
       "*DefaultPageSize: EnvC5\n*PageSize EnvC5/C5: \"\"\n*PageSize EnvC5Rotated/C5 R: \"\"\n"
       "*% EnvC5 comment\n*PageSize A4/A4: \"\"\n*UIConstraints: *Duplex None *PageSize EnvC5\n",
       {u"EnvC5"}, "*PageSize A4/A4: \"\"\n"},
      {"names in order, absent ones skipped",
       "*PageSize EnvDL/DL: \"\"\n*PageSize Env10/10: \"\"\n*PageSize EnvYou4/You4: \"\"\n",
       {u"EnvC5", u"EnvDL", u"Env10", u"EnvMonarch"}, "*PageSize EnvYou4/You4: \"\"\n"},
      {"an empty name removes nothing", "*PageSize A4/A4: \"\"\n", {u""}, "*PageSize A4/A4: \"\"\n"},
      {"multi-line values go whole",
       "*PageSize EnvDL/DL: \"\n<<>>\nsetpagedevice\"\n*End\n*X: 1\r\n", {u"EnvDL"}, "*X: 1\r\n"},
      {"a name that spans a join is found again",
       "a\nXb\nb\n", {u"\nb"}, "b\n"},
  };
  for (const auto& c : cases) {
    UString text = U(c.text);
    QZCFStringDeleteEnvelpes(text, c.names);
    EXPECT_EQ(Utf8(text), c.want) << c.name;
  }
}

TEST(QZCFStringDeleteAutoSetup, FirstLineOnly) {
  UString text = u"*A: 1\n*QzAutoSetup: True\n*QzAutoSetup: False\n";
  QZCFStringDeleteAutoSetup(text);
  EXPECT_EQ(text, u"*A: 1\n*QzAutoSetup: False\n");
  UString none = u"*A: 1\n";
  QZCFStringDeleteAutoSetup(none);
  EXPECT_EQ(none, u"*A: 1\n");
}
