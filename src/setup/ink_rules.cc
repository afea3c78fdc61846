#include "setup/ink_rules.h"

#include "policy/region_predicates.h"

namespace {

constexpr int32_t kAny0 = kAnyModelMin;
constexpr int32_t kAny1 = kAnyModelMax;
constexpr RuleAction kDelete = RuleAction::kDeletePapers;

constexpr UStringView kJapaneseEnvelopes[] = {u"EnvYou4", u"EnvChou3", u"EnvChou4", u"EnvKaku2"};
constexpr UStringView kWesternEnvelopes[] = {u"EnvC5", u"EnvDL", u"Env10", u"EnvMonarch"};

constexpr RuleRow kInkRules[] = {
    {14, 14, {}, RuleAction::kDeleteEnvelopeLines, {}},

    {15, 15, {u"JP"}, kDelete, {u"Legal", u"EnvC5", u"EnvMonarch"}},
    {15, 15, {u"CN", u"TW", u"KR"}, kDelete,
     {u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4", u"EnvChou3",
      u"EnvChou4", u"EnvC6"}},
    {15, 15, {}, kDelete,
     {u"B5", u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4", u"EnvChou3",
      u"EnvChou4", u"EnvC6"}},

    {16, 16, {u"JP"}, kDelete, {u"Folio", u"EnvC5", u"EnvMonarch"}},
    {16, 16, {u"CN", u"TW", u"KR"}, kDelete,
     {u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4", u"EnvChou3",
      u"EnvChou4", u"EnvC6", u"EnvKaku2"}},
    {16, 16, {}, kDelete,
     {u"B4", u"B5", u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4",
      u"EnvChou3", u"EnvChou4", u"EnvC6", u"EnvKaku2"}},

    {17, 17, {u"JP"}, kDelete, {u"Folio", u"EnvC5", u"EnvMonarch"}},
    {17, 17, {u"CN", u"TW", u"KR", u"HK"}, kDelete,
     {u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4", u"EnvChou3",
      u"EnvChou4", u"EnvC6", u"EnvKaku2"}},
    {17, 17, {}, kDelete,
     {u"B4", u"B5", u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4",
      u"EnvChou3", u"EnvChou4", u"EnvC6", u"EnvKaku2"}},

    {18, 18, {u"JP"}, kDelete, {u"Folio", u"EnvC5", u"EnvMonarch"}},
    {18, 18, {u"CN", u"TW", u"HK"}, kDelete,
     {u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4", u"EnvChou3",
      u"EnvChou4", u"EnvC6", u"EnvKaku2"}},
    {18, 18, {}, kDelete,
     {u"B4", u"B5", u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4",
      u"EnvChou3", u"EnvChou4", u"EnvC6", u"EnvKaku2"}},

    {19, 21, {u"JP"}, kDelete,
     {u"195x270mm", u"Folio", u"EnvC5", u"EnvMonarch", u"IndiaLegal", u"MexicanLegal"}},
    {19, 21, {u"CN"}, kDelete,
     {u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4", u"EnvChou3",
      u"EnvChou4", u"EnvC6", u"EnvKaku2"}},
    {19, 21, {u"TW", u"HK"}, kDelete,
     {u"195x270mm", u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4",
      u"EnvChou3", u"EnvChou4", u"EnvC6", u"EnvKaku2"}},
    {19, 21, {}, kDelete,
     {u"B4", u"B5", u"B6", u"195x270mm", u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated",
      u"EnvYou4", u"EnvChou3", u"EnvChou4", u"EnvC6", u"EnvKaku2"}},

    {kAny0, 13, {}, RuleAction::kNothing, {}},

    {22, kAny1, {u"JP"}, kDelete,
     {u"Executive", u"195x270mm", u"Folio", u"EnvC5", u"EnvMonarch", u"IndiaLegal", u"MexicanLegal"}},
    {22, kAny1, {u"CN"}, kDelete,
     {u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4", u"EnvChou3",
      u"EnvChou4", u"EnvC6", u"EnvKaku2"}},
    {22, kAny1, {u"TW", u"HK"}, kDelete,
     {u"195x270mm", u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated", u"EnvYou4",
      u"EnvChou3", u"EnvChou4", u"EnvC6", u"EnvKaku2"}},
    {22, kAny1, {}, kDelete,
     {u"B4", u"B5", u"B6", u"195x270mm", u"Postcard", u"Postcard.Fullbleed", u"DoublePostcardRotated",
      u"EnvYou4", u"EnvChou3", u"EnvChou4", u"EnvC6", u"EnvKaku2"}},
};

constexpr RuleRow kSInkRules[] = {
    {kAny0, 1, {}, RuleAction::kNothing, {}},
    {2, kAny1, {u"JP"}, kDelete,
     {u"Executive", u"ISOB5", u"ISOB6", u"3x5", u"FanFoldGermanLegal", u"Env10", u"EnvDL", u"EnvC5",
      u"EnvMonarch"}},
    {2, kAny1, {}, kDelete, {u"B5", u"B6", u"Postcard", u"EnvChou3", u"EnvChou4"}},
};

}  // namespace

std::span<const RuleRow> inkRules() { return kInkRules; }
std::span<const RuleRow> sInkRules() { return kSInkRules; }

std::vector<UString> envelopesToDelete(UStringView country) {
  const std::span<const UStringView> chosen =
      shouldDeleteJapaneseEnvelope(nullptr, country) ? std::span(kJapaneseEnvelopes) : std::span(kWesternEnvelopes);
  return std::vector<UString>(chosen.begin(), chosen.end());
}
