// The further predicates, the bundle's dictionary and the icons, one table per operation.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "extras/further_predicates.h"
#include "extras/icon_policy.h"
#include "extras/bundle_info.h"
#include "extras/icns.h"
#include "policy/model_info.h"
#include "ppd_open.h"
#include "test_support.h"

namespace {

constexpr char kHeader[] = "*PPD-Adobe: \"4.3\"\n*ModelName: \"Test\"\n*NickName: \"Test\"\n";

constexpr char kPlist[] = R"(<plist version="1.0"><dict><key>日本</key><string>caf&#233;</string><key>n</key><integer>3</integer>
<key>QZModelNumber</key><dict><key>Ink</key><string>not a dictionary</string><key>Unknown</key><dict><key>13</key>
  <string>u13</string></dict><key>MonoLaser</key><dict><key>-1</key><string>minus</string><key>13</key><string>m13</string>
  <key>7</key><integer>7</integer></dict></dict>
<key>QZBundleIcon</key><dict><key>outer</key><dict><key>flat</key><string>QZLaserA2</string><key>middle</key><dict>
  <key>inner</key><string>QZLaserA3</string><key>n</key><integer>3</integer></dict></dict></dict></dict></plist>)";

// The tests set the model record and point the bundle lookup at kPlist.
class Extras : public testing::Test {
 protected:
  void SetUp() override { BundleUseInfoDictionaryAt(dir_.Write("Info.plist", kPlist)); }
  void TearDown() override { gModelInfo = saved_, BundleUseMainInfoDictionary(); }
  const ModelInfo saved_ = gModelInfo;
  ScratchDir dir_;
};

TEST_F(Extras, ShouldAddPreset) {
  const std::tuple<UStringView, int32_t, const char*, bool> rows[] = {  // country, kind, presets, answer
      {u"US", Ink, "", false}, {u"jp", Ink, "", false}, {u"JP", MonoLaser, "", false}, {u"JP", -1, "", false},
      {u"JP", Ink, "", true}, {u"JP", Ink, "*APPrinterPreset Normal/N: \"\"\n*APPrinterPreset Fin/F: \"\"\n", true},
      {u"JP", Ink, "*APPrinterPreset FINE_Color/Fine Color: \"\"\n", false},
      {u"JP", Ink, "*APPrinterPreset Normal/N: \"\"\n*APPrinterPreset fine_x/F: \"\"\n", false}};
  for (const auto& [country, kind, presets, answer] : rows) {
    gModelInfo = {kind, 14};
    EXPECT_EQ(shouldAddPreset(OpenPPDText(kHeader + std::string(presets)).get(), country), answer) << kind << presets;
  }
}

TEST_F(Extras, MediaTypePostcardAndBond) {
  // The code serves as the language of the media type and the country of the postcards.
  const std::tuple<UStringView, int32_t, int32_t, bool, bool> rows[] = {  // code, kind, number, media, postcard
      {u"ja", MonoLaser, -1, true, false}, {u"ja", ColorLaser, 9, true, true}, {u"ja", Ink, 1, false, false},
      {u"ja", -1, 1, false, false}, {u"zh", ColorLaser, -1, true, false}, {u"zh", ColorLaser, 2, true, false},
      {u"zh", ColorLaser, 3, false, true}, {u"zh", MonoLaser, 4, false, false}, {u"zh", MonoLaser, 5, false, true},
      {u"zh", MonoLaser, 6, true, true}, {u"zh", SInk, 9, false, false}, {u"JA", MonoLaser, 1, false, false},
      {u"JP", ColorLaser, 9, false, false}, {u"", ColorLaser, 3, false, true}, {u"jp", MonoLaser, 5, false, true},
      {u"", MonoLaser, 4, false, false}, {u"CN", Ink, 9, false, false}, {u"CN", -1, 9, false, false}};
  for (const auto& [code, kind, number, media, postcard] : rows) {
    gModelInfo = {kind, number};
    EXPECT_EQ(shouldChangeDefaultMediaType(nullptr, code), media) << Utf8(code) << kind << " " << number;
    EXPECT_EQ(shouldDeletePostcard(nullptr, code), postcard) << Utf8(code) << kind << " " << number;
    EXPECT_FALSE(shouldDeleteBond(nullptr, code));
  }
}

TEST(FurtherPredicates, DuplexCountriesAndShortGrainPapers) {
  int members = 0;  // of all two-letter codes, the 35 from "FR" to "LI"; none in lower case
  for (char16_t a = u'A'; a <= u'z'; ++a) {
    for (char16_t b = u'A'; b <= u'z'; ++b) members += shouldChangeDuplexDefault(UString{a, b});
  }
  EXPECT_EQ(members, 35);
  EXPECT_TRUE(shouldChangeDuplexDefault(u"FR") && shouldChangeDuplexDefault(u"LI") && !shouldChangeDuplexDefault(u""));
  const PPDFile ppd = OpenPPDText(std::string(kHeader) + "*OpenUI *PageSize: PickOne\n*PageSize A4/A4: \"\"\n"
                                  "*PageSize B5_S/B5: \"\"\n*PageSize QzA3/A3: \"\"\n*PageSize qza3/A3: \"\"\n"
                                  "*PageSize A4_s/A4: \"\"\n*PageSize A3_S/A3: \"\"\n*CloseUI: *PageSize\n");
  EXPECT_EQ(CFArrayCropyShortGrainPapersFromPPD(ppd.get()), (std::vector<UString>{u"B5_S", u"QzA3", u"A3_S"}));
  EXPECT_TRUE(CFArrayCropyShortGrainPapersFromPPD(OpenPPDText(kHeader).get()).empty());
  const PPDFile one = OpenPPDText(std::string(kHeader) + "*OpenUI *PageSize: PickOne\n*PageSize A3_S/A3: \"\"\n"
                                  "*CloseUI: *PageSize\n");
  EXPECT_EQ(CFArrayCropyShortGrainPapersFromPPD(one.get()), std::vector<UString>{u"A3_S"});  // a lone choice too
}

TEST_F(Extras, BundleDictionaryXmlOrBinaryElseNone) {
  char* bin = nullptr;
  uint32_t length = 0;
  plist_to_bin(PlistCreateWithBytes(kPlist).get(), &bin, &length);
  const std::string binary(bin, length);
  plist_to_bin_free(bin);
  // Each file replaces the dictionary read before it.
  for (const std::string& bytes : std::vector<std::string>{kPlist, "", binary, "not a property list", binary,
       "<plist><dict><key>n</key>", kPlist, "<plist><array><string>n</string></array></plist>", binary, "bplist00\x01"}) {
    const bool usable = bytes == kPlist || bytes == binary;
    BundleUseInfoDictionaryAt(dir_.Write("Info.plist", bytes));
    EXPECT_EQ(PlistCopyString(BundleGetValueForInfoDictionaryKey(U("日本"))).value_or(u"-"), usable ? U("café") : u"-");
    EXPECT_FALSE(PlistCopyString(BundleGetValueForInfoDictionaryKey(u"n")));  // present in a usable one, an integer
  }
  BundleUseInfoDictionaryAt(dir_.path() + "/missing.plist");
  EXPECT_EQ(BundleGetValueForInfoDictionaryKey(u"n"), nullptr);
}

TEST_F(Extras, BundleDictionaryLocation) {
  const std::string contents = dir_.path() + "/T.app/Contents", tool = contents + "/MacOS/tool";
  std::filesystem::create_directories(contents + "/MacOS");
  EXPECT_EQ(BundleFindInfoDictionaryPath(tool), "");
  dir_.Write("T.app/Contents/MacOS/Info.plist", kPlist);  // beside the tool, until the bundle has one
  EXPECT_EQ(BundleFindInfoDictionaryPath(tool), contents + "/MacOS/Info.plist");
  dir_.Write("T.app/Contents/Info.plist", kPlist);
  EXPECT_EQ(BundleFindInfoDictionaryPath(tool), contents + "/Info.plist");
  EXPECT_EQ(BundleFindInfoDictionaryPath(contents + "/tool"), contents + "/Info.plist");
  EXPECT_EQ(BundleFindInfoDictionaryPath(contents + "/Resources/tool"), "");
  EXPECT_EQ(BundleFindInfoDictionaryPath(dir_.path() + "/T.app/tool"), "");
}

TEST(IconNames, FindCapture) {
  const char* const icon = kIconNameExpression;
  const std::tuple<const char*, const char*, const char*> rows[] = {  // expression, text, group 1 (null: none)
      {icon, "*Icon: \"/Library/Icons/QZLaserA1.icns\"\n", "QZLaserA1"}, {icon, "*A: \"QZ/x/QZLaserB1.icns\"\n", "QZLaserB1"},
      {icon, "*A: \"QZLaserA1.icns QZLaserB1.icns\"\n", "QZLaserA1.icns QZLaserB1"}, {icon, "*A: \"QZa.icns\"\n", nullptr},
      {icon, "*A: \"QZx/y/QZLaserB1.icns\"\n", "QZx/y/QZLaserB1"}, {icon, "*A: \"QZab.icns\"\n", "QZab"},
      {icon, "*A: \"QZ\"\n*B: \"Laser.icns\"\n", nullptr}, {icon, "*Icon: \"QZ漢字.icns\"\n", "QZ漢字"},
      {icon, "*ModelName: \"日本語 Ærø\"\n*Icon: \"/Icons/QZLaserA1.icns\"\n", "QZLaserA1"},
      {"(.+)", "日本語", "日本語"},  // three bytes for every code unit: the encoded text still fits
      {"(QZ", "QZab.icns", nullptr}, {"QZ|(x)", "QZab.icns", nullptr}, {nullptr, "QZab.icns", nullptr}};
  for (const auto& [expression, text, want] : rows) {
    const std::optional<UString> got = QZCFStringCreateFind(expression, U(text));
    EXPECT_EQ(got ? Utf8(*got) : "(none)", want ? want : "(none)") << text;
  }
  EXPECT_FALSE(QZCFStringCreateFind("(.+)", u"QZab\xD800.icns"));
}

TEST_F(Extras, ReplaceIconFromTheDictionary) {
  const UString original = u"*Icon: \"/Icons/QZLaserA1.icns\"\n*B: \"QZLaserA1.icns\"\n";
  const UString changed = u"*Icon: \"/Icons/QZLaserA3.icns\"\n*B: \"QZLaserA1.icns\"\n";  // first only, path kept
  const std::tuple<UStringView, UStringView, UStringView, bool> rows[] = {  // outer, inner, middle (last), changes
      {u"outer", u"inner", u"middle", true}, {u"outer", u"middle", u"inner", false},
      {u"other", u"inner", u"middle", false}, {u"outer", u"inner", u"flat", false}, {u"outer", u"n", u"middle", false}};
  for (const auto& [outer, inner, middle, changes] : rows) {
    UString text = original;
    QZCFStringReplaceICNS2(text, outer, inner, middle);
    EXPECT_EQ(text, changes ? changed : original) << Utf8(outer) << Utf8(inner) << Utf8(middle);
  }
  UString text = u"*Icon: \"/Icons/LaserA1.icns\"\n";  // no current name to replace
  QZCFStringReplaceICNS2(text, u"outer", u"inner", u"middle");
  QZCFStringModifyICNS(text, u"QZLaserB1", u"QZLaserB3");
  EXPECT_EQ(text, u"*Icon: \"/Icons/LaserA1.icns\"\n");
}

TEST_F(Extras, StringShouldModifyICNSByKindNameAndRecordNumber) {
  const std::tuple<int32_t, int32_t, UStringView> rows[] = {  // kind, record's number, string ("" for none)
      {MonoLaser, 13, u"m13"}, {MonoLaser, -1, u"minus"}, {-1, 13, u"u13"}, {ColorLaser, 13, u""},
      {MonoLaser, 12, u""},    {MonoLaser, 7, u""},       {Ink, 13, u""}};
  for (const auto& [kind, number, want] : rows) {
    gModelInfo = {ColorLaser, number};  // the record's kind plays no part
    UString out = u"untouched";
    EXPECT_EQ(stringShouldModifyICNS(kind, &out), !want.empty()) << kind;
    EXPECT_EQ(out, want.empty() ? u"untouched" : want) << kind;
  }
}

TEST_F(Extras, ModifyICNSBasedOnSeriesCountryAndMarker) {
  // m, country, "VQT" present, g, the icon put in place of its series' "1" icon ("" for none)
  const std::tuple<int32_t, UStringView, bool, int32_t, UStringView> rows[] = {
      {7, u"CN", false, 9, u""}, {10, u"MX", false, 9, u""}, {8, u"MX", true, 8, u""}, {9, u"AR", true, 9, u""},
      {9, u"MX", false, 8, u""}, {9, u"CN", false, 8, u""}, {8, u"", false, 8, u""}, {8, u"mx", false, 8, u""},
      {8, u"MX", false, 1, u"A2"}, {8, u"AR", false, 9, u"A2"}, {8, u"CL", false, 8, u"A2"}, {8, u"BR", false, -1, u"A2"},
      {9, u"MX", false, 9, u"B2"}, {9, u"AR", false, 9, u"B2"}, {9, u"CL", false, 9, u"B2"}, {9, u"BR", false, 9, u"B2"},
      {8, u"CN", true, 8, u"C3"}, {9, u"CN", true, 1, u"C3"}, {8, u"CN", false, 9, u"A3"}, {9, u"CN", false, 9, u"B3"}};
  for (const auto& [m, country, vqt, g, to] : rows) {
    gModelInfo = {MonoLaser, g};
    // The text is its own search text; lower-case "vqt" is no series C marker.
    UString text = u"*A: \"/Icons/QZLaserA1.icns\"\n*B: \"QZLaserB1.icns QZLaserC1.icns QZLaserC1.icns QZLaserA1.icns\"\n"
                   u"*Product: \"(" + UString(vqt ? u"VQT" : u"vqt") + u")\"\n";
    UString want = text;
    if (!to.empty()) want.replace(StringFind(want, u"QZLaser" + UString(1, to[0]) + u"1"), 9, u"QZLaser" + UString(to));
    modifyICNSBasedOn(m, country, text, text);
    EXPECT_EQ(text, want) << m << " " << Utf8(country) << " " << vqt << " " << g;
  }
}

}  // namespace
