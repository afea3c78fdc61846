#include "extras/icon_policy.h"

#include <optional>
#include <utility>

#include "policy/model_info.h"
#include "extras/bundle_info.h"
#include "extras/icns.h"

namespace {

bool IsLatinAmerican(UStringView country) {
  return country == u"MX" || country == u"AR" || country == u"CL" || country == u"BR";
}

}  // namespace

bool stringShouldModifyICNS(int32_t kind, UString* out) {
  plist_t byKind = BundleGetValueForInfoDictionaryKey(u"QZModelNumber");
  plist_t byNumber = PlistDictGetValue(byKind, StringFromASCII(ModelKindName(kind)));
  const std::optional<UString> number = StringCreateWithFormat("%d", {gModelInfo.modelNumber});
  if (!number) return false;
  std::optional<UString> found = PlistCopyString(PlistDictGetValue(byNumber, *number));
  if (!found) return false;
  if (out != nullptr) *out = std::move(*found);
  return true;
}

void modifyICNSBasedOn(int32_t modelNumber, UStringView country, UStringView searchText,
                       UString& text) {
  if (modelNumber != 8 && modelNumber != 9) return;
  const bool vqt = StringFind(searchText, u"VQT") != kNotFound;
  const bool seriesB = modelNumber == 9 && gModelInfo.modelNumber == 9;
  if (IsLatinAmerican(country)) {
    if (vqt) return;
    if (modelNumber == 8) {
      QZCFStringModifyICNS(text, u"QZLaserA1", u"QZLaserA2");
    } else if (seriesB) {
      QZCFStringModifyICNS(text, u"QZLaserB1", u"QZLaserB2");
    }
  } else if (country == u"CN") {
    if (vqt) {
      QZCFStringModifyICNS(text, u"QZLaserC1", u"QZLaserC3");
    } else if (modelNumber == 8) {
      QZCFStringModifyICNS(text, u"QZLaserA1", u"QZLaserA3");
    } else if (seriesB) {
      QZCFStringModifyICNS(text, u"QZLaserB1", u"QZLaserB3");
    }
  }
}
