// The string layer, as tables of inputs and results.
#include "ppdtext/ustring.h"

#include <gtest/gtest.h>
#include <tuple>

#include "test_support.h"

TEST(UString, FindAndLineBounds) {
  const UString text = u"ab*PageSize A4/ *PageSize A4/";  // 29 units, the needle at 2 and 16
  const UStringView a4 = u"*PageSize A4/", none = u"";
  const std::tuple<UStringView, size_t, size_t, size_t> finds[] = {  // needle, from, to, found
      {a4, 0, kNotFound, 2}, {a4, 3, kNotFound, 16}, {a4, 16, 29, 16}, {a4, 3, 28, kNotFound},
      {u"*pagesize", 0, kNotFound, kNotFound}, {none, 0, kNotFound, kNotFound}, {u"A4", 100, kNotFound, kNotFound},
      {u"Page", 4, 6, kNotFound} /* a range shorter than the needle */, {u"Page", 3, 7, 3}};
  for (const auto& [needle, from, to, found] : finds) EXPECT_EQ(StringFind(text, needle, from, to), found) << from;
  EXPECT_EQ(StringFind(u"axbacb and so on", u"acb"), 3u);  // a near miss before a match in one block

  const std::tuple<UStringView, size_t, size_t, size_t, size_t> lines[] = {  // text, index, begin, contents end, end
      {u"ab\ncd\n", 4, 3, 5, 6}, {u"ab\r\ncd\r\n", 5, 4, 6, 8}, {u"ab\rcd\r", 4, 3, 5, 6}, {u"ab\ncd", 4, 3, 5, 5},
      {u"ab\r\ncd", 3, 0, 2, 4}, {u"\r\nb", 1, 0, 0, 2},  // the LF of CR LF belongs to the line it ends
      {u"ab\n\ncd", 3, 3, 3, 4}, {u"", 0, 0, 0, 0}, {u"ab\n", 3, 3, 3, 3}};
  for (const auto& [in, index, begin, contents, end] : lines) {
    const LineBounds got = StringGetLineBounds(in, index);
    EXPECT_EQ(std::tuple(got.begin, got.contentsEnd, got.end), std::tuple(begin, contents, end)) << Utf8(in) << index;
  }
}

TEST(UString, ReplaceFormatAndSplit) {
  const std::tuple<UString, size_t, size_t, bool, size_t, UStringView> replaces[] = {  // "*" -> "*%" in [begin, end)
      {u"*a *b *c\n*d", 0, 8, false, 3, u"*%a *%b *%c\n*d"}, {u"**x*", 0, 3, false, 2, u"*%*%x*"},
      {u" *a", 0, 3, true, 0, u" *a"}, {u" *a", 1, 3, true, 1, u" *%a"}, {u" *a", 1, 2, true, 1, u" *%a"}};
  for (auto [text, begin, end, anchored, count, want] : replaces) {
    EXPECT_EQ(StringFindAndReplace(text, u"*", u"*%", begin, end, anchored), count) << Utf8(text);
    EXPECT_EQ(text, want);
  }

  const std::tuple<const char*, std::vector<FormatArg>, UStringView> formats[] = {  // format, arguments, result or "-"
      {"*%@ %@/", {u"PageSize", u"A4"}, u"*PageSize A4/"}, {"%d|%d|%%", {-1, 13}, u"-1|13|%"}, {"%s", {"\xe6\x97\xa5"}, u"\u65e5"},
      {"%@ %@", {u"a"}, u"-"}, {"%@", {u"a", u"b"}, u"-"}, {"%d", {u"a"}, u"-"}, {"%s", {"\xff"}, u"-"}, {"a%", {}, u"-"}};
  for (const auto& [format, args, want] : formats) EXPECT_EQ(StringCreateWithFormat(format, args).value_or(u"-"), want) << format;

  using V = std::vector<UString>;
  EXPECT_EQ(StringCreateArrayBySeparatingStrings(u"B5 B6 3x5", u" "), (V{u"B5", u"B6", u"3x5"}));
  EXPECT_EQ(StringCreateArrayBySeparatingStrings(u"a  b", u" "), (V{u"a", u"", u"b"}));
  EXPECT_EQ(StringCreateArrayBySeparatingStrings(u"", u" "), (V{u""}));
}

TEST(UString, StrictUtf8AndAscii) {
  // Invalid: overlong (two and three bytes), an encoded surrogate, a lone continuation, a truncated
  // sequence, past U+10FFFF, a byte that never occurs. The valid ones encode back to the same bytes.
  const std::pair<std::string, bool> rows[] = {
      {"plain", true}, {"caf\xc3\xa9", true}, {"\xe6\x97\xa5\xe6\x9c\xac", true}, {"\xf0\x9f\x96\xa8", true}, {"\xf0\x90\x80\x80", true}, {"\xdf\xbf\x7f", true},
      {"\xef\xbb\xbf*PPD", true}, {"\xf4\x8f\xbf\xbf", true}, {"\xc0\xaf", false}, {"\xe0\x80\xaf", false},
      {"\xed\xa0\x80", false}, {"\x80", false}, {"\xe6\x97", false}, {"\xf4\x90\x80\x80", false}, {"\xfe", false}};
  for (const auto& [bytes, valid] : rows) {
    const std::optional<UString> text = StringCreateWithUTF8(bytes);
    EXPECT_EQ(text ? StringCopyUTF8(*text) : std::nullopt, valid ? std::optional(bytes) : std::nullopt) << bytes;
  }
  EXPECT_FALSE(StringCreateWithASCII("caf\xc3\xa9"));
  EXPECT_FALSE(StringCreateWithASCII("\x80"));
  EXPECT_EQ(StringCreateWithASCII("QzA3\x7f"), u"QzA3\x7f");
}
