#include "extras/further_predicates.h"

#include <strings.h>

#include <algorithm>
#include <array>

#include "policy/model_info.h"

namespace {

constexpr std::array<UStringView, 35> kDuplexCountries = {
    u"FR", u"ES", u"SE", u"NO", u"DE", u"FI", u"PL", u"IT", u"GB",
    u"RO", u"GR", u"BG", u"IS", u"HU", u"PT", u"AT", u"CZ", u"RS",
    u"IE", u"LT", u"LV", u"HR", u"SK", u"EE", u"DK", u"NL", u"CH",
    u"BE", u"MK", u"TR", u"SI", u"CY", u"LU", u"MT", u"LI",
};

// The short-grain rule looks at the keyword alone: a size whose keyword ends
// with "_S" (its short-grain cut), or the size "QzA3".
bool IsShortGrainPaper(UStringView keyword) {
  return keyword.ends_with(u"_S") || keyword == u"QzA3";
}

}  // namespace

bool shouldAddPreset(ppd_file_t* ppd, UStringView country) {
  if (country != u"JP") return false;
  if (gModelInfo.kind != Ink) return false;
  for (ppd_attr_t* attr = ppdFindAttr(ppd, "APPrinterPreset", nullptr); attr != nullptr;
       attr = ppdFindNextAttr(ppd, "APPrinterPreset", nullptr)) {
    if (strncasecmp(attr->spec, "Fine", 4) == 0) return false;
  }
  return true;
}

bool shouldChangeDefaultMediaType(ppd_file_t* /*ppd*/, UStringView language) {
  const int32_t number = gModelInfo.modelNumber;
  if (language == u"ja") return gModelInfo.kind == MonoLaser || gModelInfo.kind == ColorLaser;
  if (language == u"zh") {
    if (gModelInfo.kind == ColorLaser) return number <= 2;
    if (gModelInfo.kind == MonoLaser) return number != 4 && number != 5;
  }
  return false;
}

bool shouldDeletePostcard(ppd_file_t* /*ppd*/, UStringView country) {
  if (country == u"JP") return false;
  if (gModelInfo.kind == ColorLaser) return gModelInfo.modelNumber >= 3;
  if (gModelInfo.kind == MonoLaser) return gModelInfo.modelNumber >= 5;
  return false;
}

bool shouldDeleteBond(ppd_file_t* /*ppd*/, UStringView /*country*/) { return false; }

bool shouldChangeDuplexDefault(UStringView country) {
  return std::find(kDuplexCountries.begin(), kDuplexCountries.end(), country) !=
         kDuplexCountries.end();
}

std::vector<UString> CFArrayCropyShortGrainPapersFromPPD(ppd_file_t* ppd) {
  std::vector<UString> papers;
  const ppd_option_t* option = ppdFindOption(ppd, "PageSize");
  if (option == nullptr || option->num_choices <= 0) return papers;
  for (int i = 0; i < option->num_choices; ++i) {
    const std::optional<UString> keyword = StringCreateWithASCII(option->choices[i].choice);
    if (keyword && IsShortGrainPaper(*keyword)) papers.push_back(*keyword);
  }
  return papers;
}
