#include "policy/region_predicates.h"

#include <algorithm>
#include <array>

namespace {

constexpr UStringView kJapan = u"JP";

// Countries where the duplex default of the energy-saving models stays.
constexpr std::array<UStringView, 1> kKeepDuplexDefault = {u"CN"};

}  // namespace

int shouldChangeDefaultCountryCode(ppd_file_t* /*ppd*/, UStringView country,
                                   std::optional<UStringView>* recorded) {
  if (country == kJapan) return 0;
  *recorded = country;
  return 1;
}

int shouldChangeDuplexDefaultEnergyStar(UStringView country) {
  return std::find(kKeepDuplexDefault.begin(), kKeepDuplexDefault.end(), country) ==
                 kKeepDuplexDefault.end()
             ? 1
             : 0;
}

int shouldDeleteJapaneseEnvelope(ppd_file_t* /*ppd*/, UStringView country) {
  return country == kJapan ? 0 : 1;
}
