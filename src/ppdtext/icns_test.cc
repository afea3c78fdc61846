#include "ppdtext/icns.h"

#include <gtest/gtest.h>

#include "ppdtext/bundle_info.h"
#include "test_support.h"

namespace {

TEST(QZCFStringCreateFind, IconNameCaptures) {
  const char* const rows[][2] = {  // text, capture ("" for none)
      {"*Icon: \"/Library/Icons/QZLaserA1.icns\"\n", "QZLaserA1"},
      {"*A: \"QZLaserA1.icns QZLaserB1.icns\"\n", "QZLaserA1.icns QZLaserB1"},
      {"*A: \"QZ/x/QZLaserB1.icns\"\n", "QZLaserB1"},
      {"*A: \"QZx/y/QZLaserB1.icns\"\n", "QZx/y/QZLaserB1"},
      {"*A: \"QZa.icns\"\n", ""},
      {"*A: \"QZab.icns\"\n", "QZab"},
      {"*A: \"QZ\"\n*B: \"Laser.icns\"\n", ""},
      {"*ModelName: \"日本語 Ærø\"\n*Icon: \"/Icons/QZLaserA1.icns\"\n", "QZLaserA1"},
      {"*Icon: \"QZ漢字.icns\"\n", "QZ漢字"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Utf8(QZCFStringCreateFind(kIconNameExpression, U(r[0])).value_or(u"")), r[1]) << r[0];
  }
}

TEST(QZCFStringCreateFind, ConversionAndExpressionFailures) {
  // Three UTF-8 bytes for every code unit: the encoded text still fits.
  EXPECT_EQ(QZCFStringCreateFind("(.+)", U("日本語")), U("日本語"));
  EXPECT_FALSE(QZCFStringCreateFind("(.+)", u"QZab\xD800.icns"));
  EXPECT_FALSE(QZCFStringCreateFind("(QZ", u"QZab.icns"));
  EXPECT_FALSE(QZCFStringCreateFind("QZ|(x)", u"QZab.icns"));  // group 1 not taking part
}

TEST(QZCFStringModifyICNS, FirstOccurrenceOnlyPathKept) {
  UString text = u"*A: \"/Icons/QZLaserA1.icns\"\n*B: \"QZLaserA1.icns\"\n";
  QZCFStringModifyICNS(text, u"QZLaserA1", u"QZLaserA3");
  QZCFStringModifyICNS(text, u"QZLaserB1", u"QZLaserB3");
  EXPECT_EQ(text, u"*A: \"/Icons/QZLaserA3.icns\"\n*B: \"QZLaserA1.icns\"\n");
}

TEST(QZCFStringReplaceICNS2, LevelsAndTypes) {
  ScratchDir dir;
  BundleUseInfoDictionaryAt(dir.Write("Info.plist", R"(<plist><dict><key>QZBundleIcon</key><dict>
  <key>outer</key><dict><key>flat</key><string>QZLaserA2</string>
    <key>middle</key><dict><key>inner</key><string>QZLaserA3</string><key>n</key><integer>3</integer></dict>
  </dict></dict></dict></plist>)"));
  const UString original = u"*Icon: \"/Icons/QZLaserA1.icns\"\n*B: \"QZLaserA1.icns\"\n";
  const UString changed = u"*Icon: \"/Icons/QZLaserA3.icns\"\n*B: \"QZLaserA1.icns\"\n";
  const UStringView rows[][4] = {  // outer, inner, middle (the middle key comes last), changes
      {u"outer", u"inner", u"middle", u"y"}, {u"outer", u"middle", u"inner", u""},
      {u"other", u"inner", u"middle", u""},  {u"outer", u"inner", u"flat", u""},
      {u"outer", u"n", u"middle", u""},
  };
  for (const auto& r : rows) {
    UString text = original;
    QZCFStringReplaceICNS2(text, r[0], r[1], r[2]);
    EXPECT_EQ(text, r[3].empty() ? original : changed) << Utf8(r[0]) << Utf8(r[1]) << Utf8(r[2]);
  }
  UString text = u"*Icon: \"/Icons/LaserA1.icns\"\n";  // no current name to replace
  QZCFStringReplaceICNS2(text, u"outer", u"inner", u"middle");
  EXPECT_EQ(text, u"*Icon: \"/Icons/LaserA1.icns\"\n");

  BundleUseInfoDictionaryAt(std::string(PPD_LOCALIZE_SOURCE_DIR) + "/examples/Info.plist");
  text = original;
  QZCFStringReplaceICNS2(text, u"MonoLaser", u"8", u"CN");
  EXPECT_EQ(text, changed);
  BundleUseMainInfoDictionary();
}

}  // namespace
