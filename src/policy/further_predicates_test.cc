#include "policy/further_predicates.h"

#include <gtest/gtest.h>

#include "policy/model_info.h"
#include "test_support.h"

namespace {

constexpr char kHeader[] = "*PPD-Adobe: \"4.3\"\n*ModelName: \"Test\"\n*NickName: \"Test\"\n";

struct Row {
  UStringView code;
  int32_t kind, number;
  bool want;
};

class Predicates : public testing::Test {
 protected:
  void TearDown() override { gModelInfo = saved_; }
  const ModelInfo saved_ = gModelInfo;
};

TEST_F(Predicates, ShouldAddPresetTable) {
  const struct {
    UStringView country;
    int32_t kind;
    const char* presets;
    bool want;
  } rows[] = {
      {u"US", Ink, "", false}, {u"jp", Ink, "", false}, {u"JP", MonoLaser, "", false},
      {u"JP", -1, "", false},  {u"JP", Ink, "", true},
      {u"JP", Ink, "*APPrinterPreset Normal_Gray/N: \"\"\n*APPrinterPreset Fin/F: \"\"\n", true},
      {u"JP", Ink, "*APPrinterPreset FINE_Color/Fine Color: \"\"\n", false},
      {u"JP", Ink, "*APPrinterPreset Normal/N: \"\"\n*APPrinterPreset fine_x/F: \"\"\n", false},
  };
  for (const auto& r : rows) {
    const PPDFile ppd = OpenPPDText(kHeader + std::string(r.presets));
    ASSERT_NE(ppd, nullptr) << r.presets;
    gModelInfo = {r.kind, 14};
    EXPECT_EQ(shouldAddPreset(ppd.get(), r.country), r.want) << r.kind << r.presets;
  }
}

TEST_F(Predicates, ShouldChangeDefaultMediaTypeTable) {
  const Row rows[] = {
      {u"ja", MonoLaser, -1, true},  {u"ja", ColorLaser, 9, true},  {u"ja", Ink, 1, false},
      {u"ja", -1, 1, false},         {u"zh", ColorLaser, -1, true}, {u"zh", ColorLaser, 2, true},
      {u"zh", ColorLaser, 3, false}, {u"zh", MonoLaser, 4, false},  {u"zh", MonoLaser, 5, false},
      {u"zh", MonoLaser, 6, true},   {u"zh", SInk, 1, false},       {u"JA", MonoLaser, 1, false},
  };
  for (const Row& r : rows) {
    gModelInfo = {r.kind, r.number};
    EXPECT_EQ(shouldChangeDefaultMediaType(nullptr, r.code), r.want) << r.kind << " " << r.number;
  }
}

TEST_F(Predicates, ShouldDeletePostcardTableAndNeverBond) {
  const Row rows[] = {
      {u"JP", ColorLaser, 9, false}, {u"", ColorLaser, 3, true}, {u"US", ColorLaser, 2, false},
      {u"US", ColorLaser, -1, false}, {u"jp", MonoLaser, 5, true}, {u"", MonoLaser, 4, false},
      {u"CN", Ink, 9, false},        {u"CN", -1, 9, false},
  };
  for (const Row& r : rows) {
    gModelInfo = {r.kind, r.number};
    EXPECT_EQ(shouldDeletePostcard(nullptr, r.code), r.want) << r.kind << " " << r.number;
    EXPECT_FALSE(shouldDeleteBond(nullptr, r.code));
  }
}

TEST(ShouldChangeDuplexDefault, TheThirtyFiveCountries) {
  EXPECT_TRUE(shouldChangeDuplexDefault(u"FR") && shouldChangeDuplexDefault(u"LI"));
  for (UStringView out : {u"US", u"fr", u"", u"JP", u"CN"}) EXPECT_FALSE(shouldChangeDuplexDefault(out));
  int members = 0;
  for (char16_t a = u'A'; a <= u'Z'; ++a) {
    for (char16_t b = u'A'; b <= u'Z'; ++b) members += shouldChangeDuplexDefault(UString{a, b});
  }
  EXPECT_EQ(members, 35);
}

TEST(CFArrayCropyShortGrainPapersFromPPD, KeywordsEndingInSOrQzA3) {
  PPDFile ppd = OpenPPDText(std::string(kHeader) +
                            "*OpenUI *PageSize: PickOne\n*PageSize A4/A4: \"\"\n"
                            "*PageSize B5_S/B5: \"\"\n*PageSize QzA3/A3: \"\"\n*PageSize qza3/A3: \"\"\n"
                            "*PageSize A4_s/A4: \"\"\n*PageSize A3_S/A3: \"\"\n*CloseUI: *PageSize\n");
  ASSERT_NE(ppd, nullptr);
  EXPECT_EQ(CFArrayCropyShortGrainPapersFromPPD(ppd.get()),
            (std::vector<UString>{u"B5_S", u"QzA3", u"A3_S"}));
  ppd = OpenPPDText(kHeader);
  ASSERT_NE(ppd, nullptr);
  EXPECT_TRUE(CFArrayCropyShortGrainPapersFromPPD(ppd.get()).empty());
}

}  // namespace
