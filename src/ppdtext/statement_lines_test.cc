// Statement ranges: a multi-line value ends where its double quotes balance,
// as libcups reads it, also when a later line holds a pair of quotes.
#include "ppdtext/statement_lines.h"

#include <gtest/gtest.h>

#include "ppdtext/default_rewrite.h"
#include "ppdtext/line_deletion.h"
#include "ppdtext/option_deletion.h"

namespace {

// A B5 value whose second line closes the value and opens it again.
constexpr char16_t kReopened[] =
    u"*PageSize A4/A4: \"x\"\n"
    u"*PageSize B5/B5: \"\n"
    u"  a\" \"b\n"
    u"  more of the value\n"
    u"  c\"\n"
    u"*End\n"
    u"*PageSize Letter/Letter: \"y\"\n";

}  // namespace

TEST(StatementLines, ValueRunsOnWhileLinesHoldQuotePairs) {
  const UStringView text = kReopened;
  const size_t b5 = text.find(u"*PageSize B5");
  const StatementRange range = StatementRangeAt(text, b5);
  EXPECT_EQ(range.begin, b5);
  EXPECT_EQ(range.end, text.find(u"*PageSize Letter"));
}

TEST(StatementLines, SingleQuoteLineClosesAndUnclosedValueIsOneLine) {
  const UStringView closed = u"*A: \"\nx\n\"\n*B: 1\n";
  EXPECT_EQ(StatementRangeAt(closed, 0).end, closed.find(u"*B"));
  const UStringView unclosed = u"*A: \"\nx\" \"y\n*B: 1\n";
  EXPECT_EQ(StatementRangeAt(unclosed, 0).end, unclosed.find(u"x"));
}

// Fuzzing found these: deleting such a value left its tail behind, which
// made libcups refuse a localised PPD that it had read before.
TEST(StatementLines, RegressionDeletionTakesAValueWithAQuotePairLine) {
  const UString expected = u"*PageSize A4/A4: \"x\"\n*PageSize Letter/Letter: \"y\"\n";
  UString by_paper = kReopened;
  QZCFStringDeletePaperSize(by_paper, u"B5");
  EXPECT_EQ(by_paper, expected);
  UString by_option = kReopened;
  QZCFStringDeleteKeywordOption(by_option, u"PageSize", u"B5");
  EXPECT_EQ(by_option, expected);
  UString by_name = kReopened;
  QZCFStringDeleteEnvelpes(by_name, {u"B5/"});
  EXPECT_EQ(by_name, expected);
  UString removed = kReopened;
  RemoveStatementAt(removed, removed.find(u"*PageSize B5"));
  EXPECT_EQ(removed, expected);
}

TEST(StatementLines, RegressionRewriteReplacesAValueWithAQuotePairLine) {
  UString text = u"*DefaultDuplex: \"\n a\" \"b\n c\"\n*Duplex None/Off: \"\"\n";
  QZCFStringChangeDefault(text, u"Duplex", u"DuplexNoTumble");
  EXPECT_EQ(text, u"*DefaultDuplex: DuplexNoTumble\n*Duplex None/Off: \"\"\n");
}
