#include "policy/region_predicates.h"

#include <gtest/gtest.h>

TEST(RegionPredicates, TruthTable) {
  struct Case {
    const char16_t* country;
    int country_code;
    int duplex;
    int japanese_envelope;
  } cases[] = {
      {u"JP", 0, 1, 0}, {u"CN", 1, 0, 1}, {u"", 1, 1, 1},
      {u"jp", 1, 1, 1}, {u"cn", 1, 1, 1}, {u"DE", 1, 1, 1},
  };
  for (const auto& c : cases) {
    const UStringView country = c.country;
    std::optional<UStringView> recorded;
    EXPECT_EQ(shouldChangeDefaultCountryCode(nullptr, country, &recorded), c.country_code);
    if (c.country_code) {
      ASSERT_TRUE(recorded);
      EXPECT_EQ(recorded->data(), country.data());  // the caller's own string
    } else {
      EXPECT_FALSE(recorded);
    }
    EXPECT_EQ(shouldChangeDuplexDefaultEnergyStar(country), c.duplex);
    EXPECT_EQ(shouldDeleteJapaneseEnvelope(nullptr, country), c.japanese_envelope);
  }
}
