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
