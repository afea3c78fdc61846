// The rule stage and the country-code step over a grid of kinds, model numbers
// and countries, on a PPD offering every rule paper: per case, a line of
// tests/expected/rule-rows.txt with the papers that went (`name~lines left` when
// partly) and the lines before the papers. UPDATE_GOLDEN=1 rewrites it for review.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string_view>

#include "policy/model_info.h"
#include "generated_texts.h"
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
  ppd += "*Duplex DuplexNoTumble/Long Edge: \"\"\n";  // the choice the duplex rule sets
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
  ppd += "*Duplex DuplexNoTumble/Long Edge: \"\"\n";
  const UString text = U(ppd);
  std::stop_source done;
  done.request_stop();
  int taken = 0;
  for (const UStringView country : {u"JP", u"CN", u"TW", u"KR", u"HK", u"DE", u""}) {
    for (const int32_t kind : {int32_t{MonoLaser}, int32_t{ColorLaser}, int32_t{Ink}, int32_t{SInk}}) {
      for (const int32_t model : {INT32_MIN, 0, 11, 12, 13, 14, 21, 22, INT32_MAX}) {
        std::optional<PPDBytes> bytes = PPDBytesFromMemory(ppd);
        PreparedText prepared = PrepareText(*bytes, BuiltinRules(), country, done.get_token());
        ASSERT_EQ(prepared.guess.model, (ModelInfo{MonoLaser, 13}));
        gModelInfo = {kind, model};
        const PrinterRecord printer = PrinterRecordOf(nullptr, gModelInfo);
        taken += SameForRules(BuiltinRules(), prepared.guess, printer);
        UString expected = text, got = text;
        localizePPDText(expected, nullptr, country);
        const LocalizedText localized = LocalizePrepared(prepared, BuiltinRules(), printer, country);
        localized.edits.ApplyTo(got);
        EXPECT_EQ(Utf8(got), Utf8(expected)) << ModelKindName(kind) << " " << model << " " << Utf8(country);
        EXPECT_EQ(localized.edits.FullScans(), 0u) << "the scan ahead missed an edit's names";
      }
    }
  }
  EXPECT_EQ(taken, 7);  // the guess was the printer once per country
  gModelInfo = saved;

  // The scan ahead covers what another rules file's edits ask of the text too.
  std::string error;
  const std::optional<RuleSet> regional = LoadRules({PPD_LOCALIZE_SOURCE_DIR "/examples/rules/regional.rules"}, &error);
  ASSERT_TRUE(regional) << error;
  PrinterRecord label = PrinterRecordOf(nullptr, {MonoLaser, 0});
  label.nickName = "Acme Label Printer";
  for (const UStringView country : {u"JP", u"CN", u"US", u""}) {
    TextEdits scanned(text);
    ScanAheadForRules(*regional, scanned, country);
    for (const PrinterRecord& printer : {PrinterRecordOf(nullptr, {MonoLaser, 13}), label}) {
      TextEdits edits = scanned;
      ApplyRules(*regional, edits, printer, country);
      EXPECT_EQ(edits.FullScans(), 0u) << Utf8(country) << " " << printer.nickName;
    }
  }
}

// A name the rules match on: the edits made ahead for the manufacturer the
// text names are taken only when libcups reads the same name.
TEST(RuleStage, EditsMadeAheadAreTakenOnlyForTheNamedPrinter) {
  RuleSet rules;
  std::string error;
  const char* text = "<Table t>\n<Row>\nManufacturer Acme\nRemovePaper A4\n</Row>\n</Table>\n";
  ASSERT_TRUE(rules.Add(text, "t.rules", &error)) << error;
  std::string ppd = "*PPD-Adobe: \"4.3\"\n*Manufacturer: \"Acme\"\n";
  for (const std::string& line : PaperLines("A4")) ppd += line + "\n";
  std::stop_source done;
  done.request_stop();
  for (const std::string manufacturer : {"Acme", "Acme Corp"}) {
    std::optional<PPDBytes> bytes = PPDBytesFromMemory(ppd);
    PreparedText prepared = PrepareText(*bytes, rules, u"DE", done.get_token());
    ASSERT_EQ(prepared.guess.manufacturer, "Acme");
    PrinterRecord printer = prepared.guess;  // the same but for the name
    printer.manufacturer = manufacturer;
    TextEdits expected(prepared.text->text);
    ApplyRules(rules, expected, printer, u"DE");
    UString want = prepared.text->text, got = want;
    expected.ApplyTo(want);
    LocalizePrepared(prepared, rules, printer, u"DE").edits.ApplyTo(got);
    EXPECT_EQ(Utf8(got), Utf8(want)) << manufacturer;
    EXPECT_EQ(Utf8(got).find("A4") == std::string::npos, manufacturer == "Acme") << manufacturer;
  }
}

namespace {

uint64_t Fnv1a(std::string_view bytes, uint64_t hash = 14695981039346656037u) {
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
  return hash;
}

// The output without its duplex default lines (hashed apart from whether
// the PPD offers the choice those lines would set).
std::string WithoutDuplexDefaults(const std::string& out) {
  std::string kept;
  for (size_t at = 0; at < out.size();) {
    const size_t end = std::min(out.find_first_of("\r\n", at), out.size());
    const size_t next = end + (out.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    const std::string_view line = std::string_view(out).substr(at, std::min(next, out.size()) - at);
    if (!line.starts_with("*DefaultDuplex:") && !line.starts_with("*DefaultQZDuplex:")) kept += line;
    at = next;
  }
  return kept;
}

}  // namespace

// Runs on generated texts for the printers and countries of every rule
// row, against hashes recorded from the rule tables as they stood before
// they became a rules file: with the duplex choice offered, byte for byte;
// without it, byte for byte but for the duplex default lines. (Recorded so,
// but for the monochrome models 12 and 13 outside China without the choice:
// there the duplex default is no longer set, and model 12 gives what model
// 0, which has the same paper rows and no duplex rule, gave.)
TEST(RuleStage, GeneratedTextsGiveTheRecordedRuns) {
  const ModelInfo saved = gModelInfo;
  std::mt19937 random(20261208);
  std::vector<std::string> texts;
  while (texts.size() < 1000) texts.push_back(GeneratedPPDText(random));
  const std::pair<int32_t, std::vector<int32_t>> printers[] = {
      {MonoLaser, {0, 12, 13}}, {ColorLaser, {0}}, {Ink, {13, 14, 15, 16, 17, 18, 19, 22}}, {SInk, {1, 2}}};
  std::ostringstream got;
  for (const auto& [kind, models] : printers) {
    for (const int32_t model : models) {
      for (const char* country : {"JP", "CN", "TW", "KR", "HK", "DE", "US", ""}) {
        gModelInfo = {kind, model};
        uint64_t offered = Fnv1a(""), plain = Fnv1a("");
        for (const std::string& text : texts) {
          for (const bool offer : {true, false}) {
            UString edited = U((offer ? "*Duplex DuplexNoTumble/Long Edge: \"\"\n" : "") + text);
            localizePPDText(edited, nullptr, U(country));
            const std::string out = Utf8(edited);
            (offer ? offered : plain) = Fnv1a(offer ? out : WithoutDuplexDefaults(out), offer ? offered : plain);
          }
        }
        got << ModelKindName(kind) << " " << model << " \"" << country << "\" " << std::hex << offered << " " << plain
            << std::dec << "\n";
      }
    }
  }
  gModelInfo = saved;
  std::map<std::string, std::string> plain;  // "kind model country" -> the plain hash
  for (std::istringstream lines(got.str()); lines.good();) {
    std::string kind, model, country, offered, hash;
    if (lines >> kind >> model >> country >> offered >> hash) plain[kind + " " + model + " " + country] = hash;
  }
  for (const char* country : {"JP", "TW", "KR", "HK", "DE", "US", ""}) {
    const std::string c = std::string("\"") + country + "\"";
    EXPECT_EQ(plain["MonoLaser 12 " + c], plain["MonoLaser 0 " + c]) << country;
  }
  const std::string golden = std::string(PPD_LOCALIZE_SOURCE_DIR) + "/tests/expected/generated-runs.txt";
  if (const char* update = std::getenv("UPDATE_GOLDEN"); update != nullptr && std::string(update) == "1") {
    std::ofstream(golden) << got.str();
  } else {
    EXPECT_EQ(got.str(), ReadFile(golden)) << "after a reviewed change, UPDATE_GOLDEN=1 rewrites " << golden;
  }
}
