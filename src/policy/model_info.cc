#include "policy/model_info.h"

#include <algorithm>
#include <limits>
#include <optional>

ModelInfo gModelInfo = {-1, -1};

const char* ModelKindName(int32_t kind) {
  switch (kind) {
    case Ink: return "Ink";
    case MonoLaser: return "MonoLaser";
    case ColorLaser: return "ColorLaser";
    case SInk: return "SInk";
    default: return "Unknown";
  }
}

int32_t determineModel(ppd_file_t* ppd) {
  if (ppd == nullptr) return -1;
  gModelInfo.kind = ppd->color_device != 0 ? ColorLaser : MonoLaser;
  gModelInfo.modelNumber = ppd->model_number;
  return ppdFindAttr(ppd, "cupsCommands", nullptr) != nullptr ? 1 : -1;
}

namespace {

// The value of the last statement whose head begins with `keyword` (say
// "*ColorDevice:"): what follows the colon, without the blanks around it and
// without the quotes around a quoted value.
std::optional<UStringView> LastValue(UStringView text, UStringView keyword) {
  std::optional<UStringView> value;
  for (size_t at = StringFind(text, keyword); at != kNotFound; at = StringFind(text, keyword, at + 1)) {
    if (!IsLineStart(text, at)) continue;
    UStringView v = text.substr(at + keyword.size(), StringGetLineBounds(text, at).contentsEnd - at - keyword.size());
    while (!v.empty() && (v.front() == u' ' || v.front() == u'\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == u' ' || v.back() == u'\t')) v.remove_suffix(1);
    if (v.size() >= 2 && v.front() == u'"' && v.back() == u'"') v = v.substr(1, v.size() - 2);
    value = v;
  }
  return value;
}

// atoi's reading of `v`: blanks, a sign, digits.
int32_t LeadingInteger(UStringView v) {
  while (!v.empty() && (v.front() == u' ' || v.front() == u'\t')) v.remove_prefix(1);
  const bool negative = !v.empty() && v.front() == u'-';
  if (!v.empty() && (v.front() == u'-' || v.front() == u'+')) v.remove_prefix(1);
  int64_t n = 0;
  for (size_t i = 0; i < v.size() && v[i] >= u'0' && v[i] <= u'9' && n <= std::numeric_limits<int32_t>::max(); ++i) {
    n = n * 10 + (v[i] - u'0');
  }
  return static_cast<int32_t>(negative ? -n : n);
}

}  // namespace

ModelInfo GuessModelFromText(UStringView text) {
  const std::optional<UStringView> color = LastValue(text, u"*ColorDevice:");
  const std::optional<UStringView> number = LastValue(text, u"*cupsModelNumber:");
  const auto is_true = [](UStringView v) {  // as libcups compares it, ignoring ASCII case
    constexpr UStringView kTrue = u"true";
    return v.size() == kTrue.size() &&
           std::equal(v.begin(), v.end(), kTrue.begin(), [](char16_t c, char16_t t) { return (c | 0x20) == t; });
  };
  return {color && is_true(*color) ? ColorLaser : MonoLaser, number ? LeadingInteger(*number) : 0};
}
