// The rule stage and the country-code step over a grid of kinds, model numbers
// and countries, on a PPD offering every rule paper: per case, a line of
// tests/expected/rule-rows.txt with the papers that went (`name~lines left` when
// partly) and the lines before the papers. UPDATE_GOLDEN=1 rewrites it for review.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "policy/model_info.h"
#include "setup/prepared_text.h"
#include "setup/rule_stage.h"
#include "setup/setup_ppd.h"
#include "test_support.h"

namespace {

const std::string kPapers[] = {"Letter", "A4", "Legal", "Folio", "Executive", "210x270mm", "195x270mm", "184x260mm",
    "197x273mm", "IndiaLegal", "MexicanLegal", "B4", "B5", "B6", "ISOB5", "ISOB6", "3x5", "FanFoldGermanLegal", "Postcard",
    "Postcard.Fullbleed", "DoublePostcardRotated", "Env10", "EnvDL", "EnvC5", "EnvC6", "EnvMonarch", "EnvPRC5Rotated",
    "EnvYou4", "EnvChou3", "EnvChou4", "EnvKaku2"};

// The ten lines that offer `p`: its option and translation for each paper keyword, and two constraints.
std::vector<std::string> PaperLines(const std::string& p) {
  std::vector<std::string> lines = {"*UIConstraints: *PageSize " + p + " *Duplex DuplexTumble",
                                    "*UIConstraints: *Duplex DuplexTumble *PageRegion " + p};
  for (const std::string k : {"PageRegion", "PageSize", "PaperDimension", "ImageableArea"}) {
    lines.insert(lines.end(), {"*" + k + " " + p + "/" + p + ": \"\"", "*fr." + k + " " + p + "/" + p + " fr: \"\""});
  }
  return lines;
}

}  // namespace

TEST(RuleStage, GridMatchesReviewedRows) {
  const ModelInfo saved = gModelInfo;
  std::string ppd = "*PPD-Adobe: \"4.3\"\n*ISOCountryCode: \"JP\"\n*DefaultDuplex: None\n*DefaultPageSize: A4\n";
  for (const std::string& p : kPapers) {
    for (const std::string& line : PaperLines(p)) ppd += line + "\n";
  }
  std::ostringstream got;
  for (const int32_t kind : {int32_t{Ink}, int32_t{MonoLaser}, int32_t{ColorLaser}, int32_t{SInk}, 4, -1}) {
    for (const int32_t model : {INT32_MIN, -13, -1, 0, 1, 2, 11, 12, 13, 14, 15, 16, 17, 18, 19, 21, 22, INT32_MAX}) {
      for (const char* country : {"JP", "CN", "TW", "KR", "HK", "DE", "", "jp", "cn"}) {
        gModelInfo = {kind, model};
        UString text = U(ppd);
        localizePPDText(text, nullptr, U(country));
        const std::string out = Utf8(text);
        std::string gone;
        for (const std::string& p : kPapers) {
          const std::vector<std::string> lines = PaperLines(p);
          const auto left = std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& l) { return out.find("\n" + l + "\n") != std::string::npos; });
          if (left < 10) gone += " " + p + (left > 0 ? "~" + std::to_string(left) : "");
        }
        const size_t from = out.find('\n') + 1;
        std::string head = out.substr(from, out.find("\n*UIConstraints") - from);
        std::replace(head.begin(), head.end(), '\n', ' ');
        got << ModelKindName(kind) << (kind == 4 || kind == -1 ? std::to_string(kind) : "") << " " << model << " \""
            << country << "\":" << (gone.empty() ? " nothing" : gone) << " | " << head << "\n";
      }
    }
  }
  gModelInfo = saved;
  const std::string golden = std::string(PPD_LOCALIZE_SOURCE_DIR) + "/tests/expected/rule-rows.txt";
  if (const char* update = std::getenv("UPDATE_GOLDEN"); update != nullptr && std::string(update) == "1") {
    std::ofstream(golden) << got.str();
  } else {
    EXPECT_EQ(got.str(), ReadFile(golden)) << "after a reviewed change, UPDATE_GOLDEN=1 rewrites " << golden;
  }
}

// A run scans the text ahead, before the printer is known, makes the rule
// stage ahead for the printer the text describes, and takes it or makes the
// printer's own on that scan: for every kind, model and country that gives
// what localizePPDText gives.
TEST(RuleStage, EditsPreparedAheadAreThePrintersOwn) {
  const ModelInfo saved = gModelInfo;
  std::string ppd = "*PPD-Adobe: \"4.3\"\n*ISOCountryCode: \"JP\"\n*DefaultDuplex: None\n*DefaultPageSize: A4\n"
                    "*cupsModelNumber: 13\n";
  for (const std::string& p : kPapers) {
    for (const std::string& line : PaperLines(p)) ppd += line + "\n";
  }
  const UString text = U(ppd);
  std::stop_source done;
  done.request_stop();
  int taken = 0;
  for (const UStringView country : {u"JP", u"CN", u"TW", u"KR", u"HK", u"DE", u""}) {
    for (const int32_t kind : {int32_t{MonoLaser}, int32_t{ColorLaser}, int32_t{Ink}, int32_t{SInk}}) {
      for (const int32_t model : {INT32_MIN, 0, 11, 12, 13, 14, 21, 22, INT32_MAX}) {
        std::optional<PPDBytes> bytes = PPDBytesFromMemory(ppd);
        PreparedText prepared = PrepareText(*bytes, country, done.get_token());
        ASSERT_EQ(prepared.guess, (ModelInfo{MonoLaser, 13}));
        gModelInfo = {kind, model};
        taken += gModelInfo == prepared.guess;
        UString expected = text, got = text;
        localizePPDText(expected, nullptr, country);
        LocalizePrepared(prepared, nullptr, country).ApplyTo(got);
        EXPECT_EQ(Utf8(got), Utf8(expected)) << ModelKindName(kind) << " " << model << " " << Utf8(country);
      }
    }
  }
  EXPECT_EQ(taken, 7);  // the guess was the printer once per country
  gModelInfo = saved;
}
