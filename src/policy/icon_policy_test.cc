#include "policy/icon_policy.h"

#include <gtest/gtest.h>

#include "policy/model_info.h"
#include "ppdtext/bundle_info.h"
#include "test_support.h"

namespace {

class IconPolicy : public testing::Test {
 protected:
  void TearDown() override {
    gModelInfo = saved_;
    BundleUseMainInfoDictionary();
  }
  const ModelInfo saved_ = gModelInfo;
};

TEST_F(IconPolicy, StringShouldModifyICNSByKindNameAndRecordNumber) {
  ScratchDir dir;
  BundleUseInfoDictionaryAt(dir.Write("Info.plist", R"(<plist><dict><key>QZModelNumber</key><dict>
  <key>MonoLaser</key><dict><key>-1</key><string>minus</string><key>13</key><string>m13</string>
                            <key>7</key><integer>7</integer></dict>
  <key>Unknown</key><dict><key>13</key><string>u13</string></dict>
  <key>Ink</key><string>not a dictionary</string></dict></dict></plist>)"));
  const struct {
    int32_t kind, recordNumber;
    UStringView want;  // "" for false
  } rows[] = {
      {MonoLaser, 13, u"m13"}, {MonoLaser, -1, u"minus"}, {-1, 13, u"u13"}, {ColorLaser, 13, u""},
      {MonoLaser, 12, u""},    {MonoLaser, 7, u""},       {Ink, 13, u""},
  };
  for (const auto& r : rows) {
    gModelInfo = {ColorLaser, r.recordNumber};  // the record's kind plays no part
    UString out = u"untouched";
    EXPECT_EQ(stringShouldModifyICNS(r.kind, &out), !r.want.empty()) << r.kind;
    EXPECT_EQ(out, r.want.empty() ? u"untouched" : r.want) << r.kind;
  }
}

TEST_F(IconPolicy, ModifyICNSBasedOnDecisionTable) {
  const struct {
    int32_t m;
    UStringView country;
    bool vqt;
    int32_t g;
    UStringView from, to;  // empty: no replacement
  } rows[] = {
      {7, u"CN", false, 9, u"", u""},  {8, u"MX", true, 8, u"", u""},
      {9, u"AR", true, 9, u"", u""},   {9, u"MX", false, 8, u"", u""},
      {9, u"CN", false, 8, u"", u""},  {8, u"", false, 8, u"", u""},
      {8, u"mx", false, 8, u"", u""},  {8, u"BR", false, -1, u"QZLaserA1", u"QZLaserA2"},
      {9, u"CL", false, 9, u"QZLaserB1", u"QZLaserB2"}, {8, u"CN", true, 8, u"QZLaserC1", u"QZLaserC3"},
      {9, u"CN", true, 1, u"QZLaserC1", u"QZLaserC3"},  {8, u"CN", false, 9, u"QZLaserA1", u"QZLaserA3"},
      {9, u"CN", false, 9, u"QZLaserB1", u"QZLaserB3"},
  };
  for (const auto& r : rows) {
    gModelInfo = {MonoLaser, r.g};
    // The text is its own search text; lower-case "vqt" is no series C marker.
    UString text = u"*A: \"/Icons/QZLaserA1.icns\"\n*B: \"QZLaserB1.icns QZLaserC1.icns\"\n*C: "
                   u"\"QZLaserC1.icns QZLaserA1.icns\"\n";
    text += r.vqt ? u"*Product: \"(VQT)\"\n" : u"*Product: \"(vqt)\"\n";
    UString want = text;
    if (!r.from.empty()) want.replace(StringFind(want, r.from), r.from.size(), r.to);
    modifyICNSBasedOn(r.m, r.country, text, text);
    EXPECT_EQ(text, want) << r.m << " " << Utf8(r.country) << " " << r.vqt << " " << r.g;
  }
}

}  // namespace
