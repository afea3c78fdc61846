#include "ppdtext/comment_out.h"

#include <gtest/gtest.h>

#include "test_support.h"

TEST(QZCFStringCommentOutKeywordOption, OptionLineAndLeadingTranslationAsterisks) {
  struct Case {
    const char* name;
    std::string text;
    std::string want;
  } cases[] = {
      {"every asterisk of the option line, only the leading one of translations",
       "*PageSize A4/A4: \"*x\"\n*fr.PageSize A4/A4: \"*\"\n x.PageSize A4/A4\n"
       "*UIConstraints: *PageSize A4 *Duplex None\n",
       "*%PageSize A4/A4: \"*%x\"\n*%fr.PageSize A4/A4: \"*\"\n x.PageSize A4/A4\n"
       "*UIConstraints: *PageSize A4 *Duplex None\n"},
      {"a commented-out copy is not the option's line",
       "*%*PageSize A4/old: \"\"\n*PageSize A4/A4: \"\"\n", "*%*PageSize A4/old: \"\"\n*%PageSize A4/A4: \"\"\n"},
      {"without an option line nothing changes",
       "*fr.PageSize A4/A4: \"\"\n", "*fr.PageSize A4/A4: \"\"\n"},
      {"an option line without translation text",
       "*PageSize A4: \"\"\r\n*ja.PageSize A4/A4: \"\"\r\n",
       "*%PageSize A4: \"\"\r\n*%ja.PageSize A4/A4: \"\"\r\n"},
  };
  for (const auto& c : cases) {
    UString text = U(c.text);
    QZCFStringCommentOutKeywordOption(text, u"PageSize", u"A4");
    EXPECT_EQ(Utf8(text), c.want) << c.name;
  }
}
