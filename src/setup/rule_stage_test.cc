// Every row of the rule tables, observed on a PPD that offers all the paper
// sizes the rules name: the row found must list exactly the expected names in
// order, and exactly those must be gone from all four paper keywords.
#include "setup/rule_stage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "policy/model_info.h"
#include "setup/ink_rules.h"
#include "setup/laser_rules.h"
#include "setup/setup_ppd.h"
#include "test_support.h"

namespace {

using Names = std::vector<std::string>;

const Names kAllPapers = {
    "Letter", "A4", "Legal", "Folio", "Executive", "210x270mm", "195x270mm", "184x260mm",
    "197x273mm", "IndiaLegal", "MexicanLegal", "B4", "B5", "B6", "ISOB5", "ISOB6", "3x5",
    "FanFoldGermanLegal", "Postcard", "Postcard.Fullbleed", "DoublePostcardRotated", "Env10",
    "EnvDL", "EnvC5", "EnvC6", "EnvMonarch", "EnvPRC5Rotated", "EnvYou4", "EnvChou3", "EnvChou4",
    "EnvKaku2"};

const Names kJapaneseEnvelopes = {"EnvYou4", "EnvChou3", "EnvChou4", "EnvKaku2"};
const Names kWesternEnvelopes = {"EnvC5", "EnvDL", "Env10", "EnvMonarch"};

std::string AllPapersPPD() {
  std::string ppd = "*PPD-Adobe: \"4.3\"\n*ISOCountryCode: \"JP\"\n*DefaultDuplex: None\n";
  for (const char* keyword : {"PageRegion", "PageSize", "PaperDimension", "ImageableArea"}) {
    ppd += std::string("*Default") + keyword + ": A4\n";
    for (const std::string& paper : kAllPapers) {
      ppd += "*" + std::string(keyword) + " " + paper + "/" + paper + ": \"\"\n";
      ppd += "*fr." + std::string(keyword) + " " + paper + "/" + paper + " fr: \"\"\n";
    }
  }
  for (const std::string& paper : kAllPapers) {
    ppd += "*UIConstraints: *PageSize " + paper + " *Duplex DuplexTumble\n";
    ppd += "*UIConstraints: *Duplex DuplexTumble *PageRegion " + paper + "\n";
  }
  return ppd;
}

// The papers still offered by all four keywords; a paper half-deleted fails.
std::set<std::string> Offered(const std::string& ppd) {
  std::set<std::string> offered;
  for (const std::string& paper : kAllPapers) {
    int keywords = 0;
    for (const char* keyword : {"PageRegion", "PageSize", "PaperDimension", "ImageableArea"}) {
      keywords += ppd.find("\n*" + std::string(keyword) + " " + paper + "/") != std::string::npos;
      keywords += ppd.find("\n*fr." + std::string(keyword) + " " + paper + "/") != std::string::npos;
    }
    const bool constrained = ppd.find("*PageSize " + paper + " *Duplex") != std::string::npos;
    EXPECT_TRUE(keywords == 0 || (keywords == 8 && constrained)) << paper << " partly deleted";
    if (keywords == 8) offered.insert(paper);
  }
  return offered;
}

std::span<const RuleRow> RowsOf(int32_t kind) {
  switch (kind) {
    case ColorLaser: return colorLaserRules();
    case MonoLaser: return monoLaserRules();
    case Ink: return inkRules();
    case SInk: return sInkRules();
    default: return {};
  }
}

struct Case {
  int32_t kind;
  int32_t model;
  std::string country;
  Names deleted;            // in order
  bool by_line = false;     // envelope rows delete by line
};

const Names kColorJP = {"Executive", "210x270mm", "195x270mm", "184x260mm", "197x273mm", "ISOB5", "3x5",
                        "FanFoldGermanLegal", "Env10", "EnvDL", "EnvC5", "EnvMonarch", "EnvPRC5Rotated"};
const Names kColorOther = {"210x270mm", "195x270mm", "184x260mm", "197x273mm", "B6", "Postcard", "EnvYou4", "EnvChou3"};
const Names kMonoOther = {"210x270mm", "195x270mm", "184x260mm", "197x273mm", "B5", "B6", "Postcard", "EnvYou4",
                          "EnvChou3", "EnvChou4"};
const Names kInkJP16 = {"Folio", "EnvC5", "EnvMonarch"};
const Names kInk8 = {"Postcard", "Postcard.Fullbleed", "DoublePostcardRotated", "EnvYou4", "EnvChou3", "EnvChou4",
                     "EnvC6", "EnvKaku2"};
const Names kInk10 = {"B4", "B5", "Postcard", "Postcard.Fullbleed", "DoublePostcardRotated", "EnvYou4", "EnvChou3",
                      "EnvChou4", "EnvC6", "EnvKaku2"};
const Names kInk9 = {"195x270mm", "Postcard", "Postcard.Fullbleed", "DoublePostcardRotated", "EnvYou4", "EnvChou3",
                     "EnvChou4", "EnvC6", "EnvKaku2"};
const Names kInk12 = {"B4", "B5", "B6", "195x270mm", "Postcard", "Postcard.Fullbleed", "DoublePostcardRotated",
                      "EnvYou4", "EnvChou3", "EnvChou4", "EnvC6", "EnvKaku2"};
const Names kInkJP19 = {"195x270mm", "Folio", "EnvC5", "EnvMonarch", "IndiaLegal", "MexicanLegal"};

const Case kCases[] = {
    {ColorLaser, 4, "JP", kColorJP},
    {ColorLaser, 13, "CN", {"210x270mm", "Postcard", "EnvYou4", "EnvChou3"}},
    {ColorLaser, 4, "TW", {"195x270mm", "184x260mm", "197x273mm", "Postcard", "EnvYou4", "EnvChou3"}},
    {ColorLaser, 4, "KR", {"210x270mm", "195x270mm", "184x260mm", "197x273mm", "Postcard", "EnvYou4", "EnvChou3"}},
    {ColorLaser, 4, "HK", kColorOther},
    {ColorLaser, 12, "", kColorOther},
    {ColorLaser, 4, "jp", kColorOther},
    {MonoLaser, 13, "JP", kColorJP},
    {MonoLaser, -1, "JP", kColorJP},
    {MonoLaser, 13, "CN", {"210x270mm", "Postcard", "EnvYou4", "EnvChou3", "EnvChou4", "3x5"}},
    {MonoLaser, 12, "CN", {"210x270mm", "Postcard", "EnvYou4", "EnvChou3", "EnvChou4"}},
    {MonoLaser, 13, "TW",
     {"195x270mm", "184x260mm", "197x273mm", "Postcard", "EnvYou4", "EnvChou3", "EnvChou4", "3x5"}},
    {MonoLaser, 11, "TW", {"195x270mm", "184x260mm", "197x273mm", "Postcard", "EnvYou4", "EnvChou3", "EnvChou4"}},
    {MonoLaser, 13, "KR", kMonoOther},
    {MonoLaser, 14, "HK", kMonoOther},
    {MonoLaser, -5, "", kMonoOther},
    {Ink, 14, "JP", kWesternEnvelopes, true},
    {Ink, 14, "DE", kJapaneseEnvelopes, true},
    {Ink, 14, "", kJapaneseEnvelopes, true},
    {Ink, 15, "JP", {"Legal", "EnvC5", "EnvMonarch"}},
    {Ink, 15, "KR", {"Postcard", "Postcard.Fullbleed", "DoublePostcardRotated", "EnvYou4", "EnvChou3", "EnvChou4", "EnvC6"}},
    {Ink, 15, "HK",
     {"B5", "Postcard", "Postcard.Fullbleed", "DoublePostcardRotated", "EnvYou4", "EnvChou3", "EnvChou4", "EnvC6"}},
    {Ink, 16, "JP", kInkJP16},
    {Ink, 16, "KR", kInk8},
    {Ink, 16, "HK", kInk10},
    {Ink, 17, "JP", kInkJP16},
    {Ink, 17, "HK", kInk8},
    {Ink, 17, "DE", kInk10},
    {Ink, 18, "JP", kInkJP16},
    {Ink, 18, "HK", kInk8},
    {Ink, 18, "KR", kInk10},
    {Ink, 19, "JP", kInkJP19},
    {Ink, 20, "CN", kInk8},
    {Ink, 21, "HK", kInk9},
    {Ink, 19, "KR", kInk12},
    {Ink, 13, "JP", {}},
    {Ink, 0, "", {}},
    {Ink, -7, "DE", {}},
    {Ink, 22, "JP", {"Executive", "195x270mm", "Folio", "EnvC5", "EnvMonarch", "IndiaLegal", "MexicanLegal"}},
    {Ink, 1000, "CN", kInk8},
    {Ink, 22, "TW", kInk9},
    {Ink, 22, "KR", kInk12},
    {SInk, 1, "JP", {}},
    {SInk, -1, "DE", {}},
    {SInk, 2, "JP", {"Executive", "ISOB5", "ISOB6", "3x5", "FanFoldGermanLegal", "Env10", "EnvDL", "EnvC5", "EnvMonarch"}},
    {SInk, 2, "DE", {"B5", "B6", "Postcard", "EnvChou3", "EnvChou4"}},
    {7, 13, "DE", {}},
    {-1, -1, "DE", {}},
};

}  // namespace

TEST(RuleStage, EveryRowDeletesExactlyItsNamesInOrder) {
  const std::string original = AllPapersPPD();
  for (const Case& c : kCases) {
    const std::string label = std::string(ModelKindName(c.kind)) + " " + std::to_string(c.model) + " \"" + c.country + "\"";
    const UString country = U(c.country);
    const RuleRow* row = FindRuleRow(RowsOf(c.kind), c.model, country);
    if (c.by_line) {
      ASSERT_NE(row, nullptr) << label;
      EXPECT_EQ(row->action, RuleAction::kDeleteEnvelopeLines) << label;
      std::vector<UString> envelopes = envelopesToDelete(country);
      Names names;
      for (const UString& e : envelopes) names.push_back(Utf8(e));
      EXPECT_EQ(names, c.deleted) << label;
    } else if (c.deleted.empty()) {
      EXPECT_TRUE(row == nullptr || row->action == RuleAction::kNothing) << label;
    } else {
      ASSERT_NE(row, nullptr) << label;
      Names names;
      for (const UStringView paper : row->papers.view()) names.push_back(Utf8(paper));
      EXPECT_EQ(names, c.deleted) << label;
    }

    gModelInfo = {c.kind, c.model};
    UString text = U(original);
    applyRuleStage(text, nullptr, country);
    std::set<std::string> want(kAllPapers.begin(), kAllPapers.end());
    for (const std::string& gone : c.deleted) want.erase(gone);
    EXPECT_EQ(Offered(Utf8(text)), want) << label;
    if (c.by_line) {
      for (const std::string& envelope : c.deleted) {
        EXPECT_EQ(Utf8(text).find(envelope), std::string::npos) << label << " keeps a line naming " << envelope;
      }
    }
  }
}

TEST(RuleStage, DuplexDefaultOnlyForMonoModels12And13OutsideChina) {
  struct Case {
    int32_t kind;
    int32_t model;
    const char16_t* country;
    bool switched;
  } cases[] = {
      {MonoLaser, 12, u"DE", true},  {MonoLaser, 13, u"JP", true},   {MonoLaser, 13, u"", true},
      {MonoLaser, 12, u"KR", true},  {MonoLaser, 13, u"CN", false},  {MonoLaser, 12, u"CN", false},
      {MonoLaser, 11, u"DE", false}, {MonoLaser, 14, u"DE", false},  {MonoLaser, -12, u"DE", false},
      {MonoLaser, -13, u"DE", false}, {ColorLaser, 13, u"DE", false}, {ColorLaser, 12, u"JP", false},
      {Ink, 13, u"DE", false},       {SInk, 12, u"DE", false},
  };
  for (const auto& c : cases) {
    gModelInfo = {c.kind, c.model};
    UString text = u"*DefaultDuplex: None\n*DefaultPageSize: A4\n";
    applyRuleStage(text, nullptr, c.country);
    EXPECT_EQ(text.starts_with(u"*DefaultDuplex: DuplexNoTumble\n"), c.switched)
        << ModelKindName(c.kind) << " " << c.model << " " << Utf8(c.country);
  }
}

TEST(CountryCodeStep, RecordsEveryCountryButJapan) {
  struct Case {
    std::string text;
    const char16_t* country;
    std::string want;
  } cases[] = {
      {"*ISOCountryCode: \"JP\"\n", u"JP", "*ISOCountryCode: \"JP\"\n"},
      {"*ISOCountryCode: \"JP\"\n", u"FR", "*ISOCountryCode: \"FR\"\n"},
      {"*ISOCountryCode: \"JP\"\n", u"", "*ISOCountryCode: \"\"\n"},
      {"*ISOCountryCode: \"JP\"\n", u"jp", "*ISOCountryCode: \"jp\"\n"},
      {"*NickName: \"x\"\n", u"FR", "*NickName: \"x\"\n"},
  };
  for (const auto& c : cases) {
    for (const int32_t kind : {int32_t{ColorLaser}, int32_t{MonoLaser}, int32_t{Ink}, int32_t{SInk}, int32_t{9}}) {
      gModelInfo = {kind, 0};
      UString text = U(c.text);
      localizePPDText(text, nullptr, c.country);
      EXPECT_EQ(Utf8(text), c.want) << Utf8(c.country) << " kind " << kind;
    }
  }
}
