#include "ppdtext/default_rewrite.h"

#include <gtest/gtest.h>

#include "test_support.h"

TEST(QZCFStringChangeDefault, Table) {
  struct Case {
    const char* name;
    std::string text;
    const char16_t* keyword;
    const char16_t* value;
    std::string want;
  } cases[] = {
      {"the default line", "*A: 1\n*DefaultDuplex: None\n*B: 2\n", u"Duplex", u"DuplexNoTumble",
       "*A: 1\n*DefaultDuplex: DuplexNoTumble\n*B: 2\n"},
      {"CR LF becomes LF", "*DefaultDuplex: None\r\n*B: 2\r\n", u"Duplex", u"DuplexNoTumble",
       "*DefaultDuplex: DuplexNoTumble\n*B: 2\r\n"},
      {"last line without terminator", "*B: 2\n*DefaultDuplex: None", u"Duplex", u"DuplexNoTumble",
       "*B: 2\n*DefaultDuplex: DuplexNoTumble\n"},
      {"vendor form when the plain one is missing", "*DefaultQZDuplex: None\n", u"Duplex", u"DuplexNoTumble",
       "*DefaultQZDuplex: DuplexNoTumble\n"},
      {"neither form", "*Duplex: x\n", u"Duplex", u"DuplexNoTumble", "*Duplex: x\n"},
      {"no retry for a vendor keyword", "*DefaultQZQZDuplex: None\n", u"QZDuplex", u"X",
       "*DefaultQZQZDuplex: None\n"},
      {"comments and longer keywords are not statements",
       "*% *DefaultDuplex: old\n*DefaultDuplexMode: x\n*DefaultDuplex: None\n", u"Duplex", u"DuplexNoTumble",
       "*% *DefaultDuplex: old\n*DefaultDuplexMode: x\n*DefaultDuplex: DuplexNoTumble\n"},
      {"empty value", "*DefaultDuplex: None\n", u"Duplex", u"", "*DefaultDuplex: \n"},
      {"empty keyword", "*DefaultX: 1\n*Default: 2\n", u"", u"v", "*DefaultX: 1\n*Default: v\n"},
      {"a multi-line value is replaced whole", "*DefaultDuplex: \"a\nb\"\n*End\n*B: 2\n", u"Duplex", u"None",
       "*DefaultDuplex: None\n*B: 2\n"},
  };
  for (const auto& c : cases) {
    UString text = U(c.text);
    QZCFStringChangeDefault(text, c.keyword, c.value);
    EXPECT_EQ(Utf8(text), c.want) << c.name;
  }
}

TEST(QZCFStringChangeGeneralInformation, Table) {
  struct Case {
    const char* name;
    std::string text;
    const char16_t* keyword;
    const char16_t* value;
    std::string want;
  } cases[] = {
      {"the statement", "*ISOCountryCode: \"JP\"\r\n", u"ISOCountryCode", u"FR", "*ISOCountryCode: \"FR\"\n"},
      {"absent: nothing is added", "*A: 1\n", u"ISOCountryCode", u"FR", "*A: 1\n"},
      {"a longer vendor keyword is not the statement",
       "*QZISOCountryCode: \"JP\"\n*ISOCountryCode: \"JP\"\n", u"ISOCountryCode", u"TW",
       "*QZISOCountryCode: \"JP\"\n*ISOCountryCode: \"TW\"\n"},
      {"empty value", "*ISOCountryCode: \"JP\"\n", u"ISOCountryCode", u"", "*ISOCountryCode: \"\"\n"},
      {"value inserted unescaped", "*ISOCountryCode: \"JP\"\n", u"ISOCountryCode", u"a\"b",
       "*ISOCountryCode: \"a\"b\"\n"},
      {"empty keyword falls back to the vendor default", "*DefaultQZ: 1\n", u"", u"v", "*DefaultQZ: v\n"},
  };
  for (const auto& c : cases) {
    UString text = U(c.text);
    QZCFStringChangeGeneralInformation(text, c.keyword, c.value);
    EXPECT_EQ(Utf8(text), c.want) << c.name;
  }
}
