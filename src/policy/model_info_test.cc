// Classification of the opened PPD. What the region predicates and the kind
// names lead to shows in the rule stage's reviewed rows
// (src/setup/rule_stage_test.cc).
#include "policy/model_info.h"

#include <gtest/gtest.h>

#include <tuple>

#include "ppd_open.h"

namespace {

constexpr char kHeader[] = "*PPD-Adobe: \"4.3\"\n*ModelName: \"Test\"\n*NickName: \"Test\"\n";

class ModelInfoTest : public testing::Test {
 protected:
  void TearDown() override { gModelInfo = saved_; }
  const ModelInfo saved_ = gModelInfo;
};

}  // namespace

TEST_F(ModelInfoTest, DetermineModel) {
  const std::tuple<const char*, int32_t, int32_t, int32_t> rows[] = {  // lines, kind, number, answer
      {"*ColorDevice: True\n*cupsModelNumber: 13\n", ColorLaser, 13, -1},
      {"*ColorDevice: False\n*cupsModelNumber: 12\n", MonoLaser, 12, -1}, {"*ColorDevice: True\n", ColorLaser, 0, -1},
      {"*cupsModelNumber: -5\n", MonoLaser, -5, -1}, {"*cupsCommands: \"Clean PrintSelfTestPage\"\n", MonoLaser, 0, 1}};
  for (const auto& [lines, kind, number, answer] : rows) {
    gModelInfo = {-1, -1};
    EXPECT_EQ(determineModel(OpenPPDText(kHeader + std::string(lines)).get()), answer) << lines;
    EXPECT_EQ(std::pair(gModelInfo.kind, gModelInfo.modelNumber), std::pair(kind, number)) << lines;
  }
  EXPECT_EQ(determineModel(nullptr), -1);
  EXPECT_EQ(std::pair(gModelInfo.kind, gModelInfo.modelNumber), std::pair(int32_t{MonoLaser}, 0));  // left alone
}

// The printer read from the text alone is the one libcups reads, for the
// ways PPDs write the two statements.
TEST_F(ModelInfoTest, GuessFromTheTextIsWhatDetermineModelFinds) {
  const char* const rows[] = {
      "", "*ColorDevice: True\n*cupsModelNumber: 13\n", "*ColorDevice: False\n", "*ColorDevice: \"True\"\n",
      "*ColorDevice:True\r\n", "*ColorDevice: True  \n", "*ColorDevice: true\n", "*ColorDevice: True\n*ColorDevice: False\n",
      "*cupsModelNumber: -5\n", "*cupsModelNumber:   12 \n", "*cupsModelNumber: 7x\n", "*cupsModelNumber: \"14\"\n",
      "*cupsModelNumber: 1\n*cupsModelNumber: 2\n", "*%ColorDevice: True\n*cupsModelNumber: +3\n"};
  for (const char* lines : rows) {
    const std::string ppd = kHeader + std::string(lines);
    gModelInfo = {-1, -1};
    determineModel(OpenPPDText(ppd).get());
    std::optional<UString> text = StringCreateWithUTF8(ppd);
    EXPECT_EQ(GuessModelFromText(*text), gModelInfo) << lines;
  }
}
