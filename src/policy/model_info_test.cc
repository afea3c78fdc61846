#include "policy/model_info.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

std::string PPDWith(const std::string& extra) {
  return "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*LanguageVersion: English\n"
         "*LanguageEncoding: ISOLatin1\n*ModelName: \"Test\"\n*NickName: \"Test\"\n" +
         extra +
         "*OpenUI *PageSize/Media Size: PickOne\n*DefaultPageSize: A4\n"
         "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *PageSize\n";
}

}  // namespace

TEST(determineModel, ClassifiesColourModelNumberAndCommands) {
  struct Case {
    std::string lines;
    ModelInfo want;
    int32_t result;
  } cases[] = {
      {"*ColorDevice: True\n*cupsModelNumber: 13\n", {ColorLaser, 13}, -1},
      {"*ColorDevice: False\n*cupsModelNumber: 12\n", {MonoLaser, 12}, -1},
      {"*cupsModelNumber: 7\n", {MonoLaser, 7}, -1},
      {"*ColorDevice: True\n", {ColorLaser, 0}, -1},
      {"*cupsModelNumber: -5\n", {MonoLaser, -5}, -1},
      {"*cupsCommands: \"Clean PrintSelfTestPage\"\n", {MonoLaser, 0}, 1},
  };
  for (const Case& c : cases) {
    PPDFile ppd = OpenPPDText(PPDWith(c.lines));
    ASSERT_TRUE(ppd) << c.lines;
    gModelInfo = {-1, -1};
    EXPECT_EQ(determineModel(ppd.get()), c.result) << c.lines;
    EXPECT_EQ(gModelInfo.kind, c.want.kind) << c.lines;
    EXPECT_EQ(gModelInfo.modelNumber, c.want.modelNumber) << c.lines;
  }
}

TEST(determineModel, NullLeavesTheRecordAlone) {
  gModelInfo = {-1, -1};
  EXPECT_EQ(determineModel(nullptr), -1);
  EXPECT_EQ(gModelInfo.kind, -1);
  EXPECT_EQ(gModelInfo.modelNumber, -1);
}

TEST(ModelKindName, NamesAndUnknown) {
  EXPECT_STREQ(ModelKindName(Ink), "Ink");
  EXPECT_STREQ(ModelKindName(MonoLaser), "MonoLaser");
  EXPECT_STREQ(ModelKindName(ColorLaser), "ColorLaser");
  EXPECT_STREQ(ModelKindName(SInk), "SInk");
  EXPECT_STREQ(ModelKindName(-1), "Unknown");
  EXPECT_STREQ(ModelKindName(4), "Unknown");
}
