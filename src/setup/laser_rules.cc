#include "setup/laser_rules.h"

#include <algorithm>
#include <iterator>

#include "policy/region_predicates.h"
#include "ppdtext/default_rewrite.h"

namespace {

constexpr int32_t kAny0 = kAnyModelMin;
constexpr int32_t kAny1 = kAnyModelMax;
constexpr RuleAction kDelete = RuleAction::kDeletePapers;

// The monochrome models whose duplex default the rule may change.
constexpr int32_t kEnergySavingDuplexModels[] = {12, 13};

constexpr RuleRow kColorLaserRules[] = {
    {kAny0, kAny1, {u"JP"}, kDelete,
     {u"Executive", u"210x270mm", u"195x270mm", u"184x260mm", u"197x273mm", u"ISOB5", u"3x5",
      u"FanFoldGermanLegal", u"Env10", u"EnvDL", u"EnvC5", u"EnvMonarch", u"EnvPRC5Rotated"}},
    {kAny0, kAny1, {u"CN"}, kDelete, {u"210x270mm", u"Postcard", u"EnvYou4", u"EnvChou3"}},
    {kAny0, kAny1, {u"TW"}, kDelete,
     {u"195x270mm", u"184x260mm", u"197x273mm", u"Postcard", u"EnvYou4", u"EnvChou3"}},
    {kAny0, kAny1, {u"KR"}, kDelete,
     {u"210x270mm", u"195x270mm", u"184x260mm", u"197x273mm", u"Postcard", u"EnvYou4", u"EnvChou3"}},
    {kAny0, kAny1, {}, kDelete,
     {u"210x270mm", u"195x270mm", u"184x260mm", u"197x273mm", u"B6", u"Postcard", u"EnvYou4",
      u"EnvChou3"}},
};

constexpr RuleRow kMonoLaserRules[] = {
    {kAny0, kAny1, {u"JP"}, kDelete,
     {u"Executive", u"210x270mm", u"195x270mm", u"184x260mm", u"197x273mm", u"ISOB5", u"3x5",
      u"FanFoldGermanLegal", u"Env10", u"EnvDL", u"EnvC5", u"EnvMonarch", u"EnvPRC5Rotated"}},
    {13, 13, {u"CN"}, kDelete,
     {u"210x270mm", u"Postcard", u"EnvYou4", u"EnvChou3", u"EnvChou4", u"3x5"}},
    {kAny0, kAny1, {u"CN"}, kDelete, {u"210x270mm", u"Postcard", u"EnvYou4", u"EnvChou3", u"EnvChou4"}},
    {13, 13, {u"TW"}, kDelete,
     {u"195x270mm", u"184x260mm", u"197x273mm", u"Postcard", u"EnvYou4", u"EnvChou3", u"EnvChou4",
      u"3x5"}},
    {kAny0, kAny1, {u"TW"}, kDelete,
     {u"195x270mm", u"184x260mm", u"197x273mm", u"Postcard", u"EnvYou4", u"EnvChou3", u"EnvChou4"}},
    {kAny0, kAny1, {}, kDelete,
     {u"210x270mm", u"195x270mm", u"184x260mm", u"197x273mm", u"B5", u"B6", u"Postcard", u"EnvYou4",
      u"EnvChou3", u"EnvChou4"}},
};

}  // namespace

std::span<const RuleRow> colorLaserRules() { return kColorLaserRules; }
std::span<const RuleRow> monoLaserRules() { return kMonoLaserRules; }

void applyMonoLaserDuplexRule(TextEdits& edits, int32_t modelNumber, UStringView country) {
  const bool energy_saving = std::find(std::begin(kEnergySavingDuplexModels), std::end(kEnergySavingDuplexModels),
                                       modelNumber) != std::end(kEnergySavingDuplexModels);
  if (energy_saving && shouldChangeDuplexDefaultEnergyStar(country)) ChangeDefault(edits, u"Duplex", u"DuplexNoTumble");
}
