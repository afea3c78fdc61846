#include "ppdtext/bundle_info.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace {

constexpr char kXml[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>日本</key><string>caf&#233;</string><key>n</key><integer>3</integer></dict></plist>)";

class BundleInfo : public testing::Test {
 protected:
  void TearDown() override { BundleUseMainInfoDictionary(); }
  ScratchDir dir_;
};

TEST_F(BundleInfo, XmlAndBinaryAlike) {
  char* bin = nullptr;
  uint32_t length = 0;
  plist_to_bin(PlistCreateWithBytes(kXml).get(), &bin, &length);
  const std::string binary(bin, length);
  plist_to_bin_free(bin);
  for (const std::string& bytes : {std::string(kXml), binary}) {
    BundleUseInfoDictionaryAt(dir_.Write("Info.plist", bytes));
    EXPECT_EQ(PlistCopyString(BundleGetValueForInfoDictionaryKey(U("日本"))), U("café"));
    EXPECT_FALSE(PlistCopyString(BundleGetValueForInfoDictionaryKey(u"n")));  // an integer
    EXPECT_EQ(BundleGetValueForInfoDictionaryKey(u"QZBundleIcon"), nullptr);
  }
}

TEST_F(BundleInfo, UnusableFilesAreNoDictionary) {
  for (const std::string bytes : {"", "not a property list", "<plist><dict><key>n</key>",
                                  "<plist><array><string>n</string></array></plist>", "bplist00\x01"}) {
    BundleUseInfoDictionaryAt(dir_.Write("good.plist", kXml));
    ASSERT_NE(BundleGetValueForInfoDictionaryKey(u"n"), nullptr);
    BundleUseInfoDictionaryAt(dir_.Write("bad.plist", bytes));
    EXPECT_EQ(BundleGetValueForInfoDictionaryKey(u"n"), nullptr) << bytes;
  }
  BundleUseInfoDictionaryAt(dir_.path() + "/missing.plist");
  EXPECT_EQ(BundleGetValueForInfoDictionaryKey(u"n"), nullptr);
}

TEST_F(BundleInfo, LookupLocation) {
  const std::string contents = dir_.path() + "/T.app/Contents", tool = contents + "/MacOS/tool";
  std::filesystem::create_directories(contents + "/MacOS");
  EXPECT_EQ(BundleFindInfoDictionaryPath(tool), "");
  dir_.Write("T.app/Contents/MacOS/Info.plist", kXml);
  EXPECT_EQ(BundleFindInfoDictionaryPath(tool), contents + "/MacOS/Info.plist");
  dir_.Write("T.app/Contents/Info.plist", kXml);
  EXPECT_EQ(BundleFindInfoDictionaryPath(tool), contents + "/Info.plist");
  EXPECT_EQ(BundleFindInfoDictionaryPath(contents + "/tool"), contents + "/Info.plist");
  EXPECT_EQ(BundleFindInfoDictionaryPath(dir_.path() + "/tool"), "");
}

}  // namespace
