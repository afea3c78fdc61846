#include "ppdtext/ustring.h"

#include <gtest/gtest.h>

#include "test_support.h"

TEST(StringFind, LiteralFirstOccurrenceInsideRange) {
  const UString text = u"ab*PageSize A4/ *PageSize A4/";
  EXPECT_EQ(StringFind(text, u"*PageSize A4/"), 2u);
  EXPECT_EQ(StringFind(text, u"*PageSize A4/", 3), 16u);
  EXPECT_EQ(StringFind(text, u"*PageSize A4/", 3, 28), kNotFound);  // must lie wholly inside
  EXPECT_EQ(StringFind(text, u"*pagesize"), kNotFound);
  EXPECT_EQ(StringFind(text, u""), kNotFound);
  EXPECT_EQ(StringFind(u"", u"a"), kNotFound);
  EXPECT_EQ(StringFind(text, u"A4", 100), kNotFound);
}

TEST(StringGetLineBounds, AllTerminators) {
  struct Case {
    UString text;
    size_t index;
    LineBounds want;
  } cases[] = {
      {u"ab\ncd\n", 4, {3, 5, 6}},
      {u"ab\r\ncd\r\n", 5, {4, 6, 8}},
      {u"ab\rcd\r", 4, {3, 5, 6}},
      {u"ab\ncd", 4, {3, 5, 5}},     // last line without terminator
      {u"ab\r\ncd", 3, {0, 2, 4}},   // the LF of CR LF belongs to the line it ends
      {u"ab\n\ncd", 3, {3, 3, 4}},   // an empty line
      {u"", 0, {0, 0, 0}},
      {u"ab\n", 3, {3, 3, 3}},
  };
  for (const Case& c : cases) {
    const LineBounds got = StringGetLineBounds(c.text, c.index);
    EXPECT_EQ(got.begin, c.want.begin) << Utf8(c.text) << " @" << c.index;
    EXPECT_EQ(got.contentsEnd, c.want.contentsEnd) << Utf8(c.text) << " @" << c.index;
    EXPECT_EQ(got.end, c.want.end) << Utf8(c.text) << " @" << c.index;
  }
}

TEST(StringFindAndReplace, EveryOrAnchoredInsideRange) {
  UString text = u"*a *b *c\n*d";
  EXPECT_EQ(StringFindAndReplace(text, u"*", u"*%", 0, 8, false), 3u);
  EXPECT_EQ(text, u"*%a *%b *%c\n*d");
  text = u" *a";
  EXPECT_EQ(StringFindAndReplace(text, u"*", u"*%", 0, 3, true), 0u);
  EXPECT_EQ(StringFindAndReplace(text, u"*", u"*%", 1, 3, true), 1u);
  EXPECT_EQ(text, u" *%a");
}

TEST(StringCreateWithFormat, DirectivesAndMismatches) {
  const UString a = u"PageSize", b = u"A4";
  EXPECT_EQ(StringCreateWithFormat("*%@ %@/", {UStringView(a), UStringView(b)}), u"*PageSize A4/");
  EXPECT_EQ(StringCreateWithFormat("%d|%d|%%", {int32_t{-1}, int32_t{13}}), u"-1|13|%");
  EXPECT_EQ(StringCreateWithFormat("%s", {"\xe6\x97\xa5"}), u"\u65e5");
  EXPECT_FALSE(StringCreateWithFormat("%@ %@", {UStringView(a)}));
  EXPECT_FALSE(StringCreateWithFormat("%@", {UStringView(a), UStringView(b)}));
  EXPECT_FALSE(StringCreateWithFormat("%d", {UStringView(a)}));
  EXPECT_FALSE(StringCreateWithFormat("%s", {"\xff"}));
}

TEST(StringCreateArrayBySeparatingStrings, FieldsInOrder) {
  using V = std::vector<UString>;
  EXPECT_EQ(StringCreateArrayBySeparatingStrings(u"B5 B6 3x5", u" "), (V{u"B5", u"B6", u"3x5"}));
  EXPECT_EQ(StringCreateArrayBySeparatingStrings(u"a  b", u" "), (V{u"a", u"", u"b"}));
  EXPECT_EQ(StringCreateArrayBySeparatingStrings(u"", u" "), (V{u""}));
}

TEST(Utf8, StrictDecodingAndRoundTrip) {
  const std::string valid[] = {"plain", "caf\xc3\xa9", "\xe6\x97\xa5\xe6\x9c\xac",
                               "\xf0\x9f\x96\xa8", "\xef\xbb\xbf*PPD", "\xf4\x8f\xbf\xbf"};
  for (const std::string& bytes : valid) {
    std::optional<UString> text = StringCreateWithUTF8(bytes);
    ASSERT_TRUE(text) << bytes;
    EXPECT_EQ(StringCopyUTF8(*text), bytes);
  }
  const std::string invalid[] = {
      "\xc0\xaf",          // overlong slash
      "\xe0\x80\xaf",      // overlong, three bytes
      "\xed\xa0\x80",      // encoded surrogate
      "\x80",              // lone continuation
      "\xe6\x97",          // truncated
      "\xf4\x90\x80\x80",  // past U+10FFFF
      "\xfe",
  };
  for (const std::string& bytes : invalid) EXPECT_FALSE(StringCreateWithUTF8(bytes)) << bytes;
  EXPECT_FALSE(StringCopyUTF8(u"a\xD800" "b"));
  EXPECT_FALSE(StringCopyUTF8(u"\xDC00"));
  EXPECT_FALSE(StringCreateWithASCII("caf\xc3\xa9"));
  EXPECT_EQ(StringCreateWithASCII("QzA3"), u"QzA3");
}
