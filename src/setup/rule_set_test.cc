// Reading rules files: each kind of malformed line with its file and line,
// what a well-formed file holds, which row matches which printer and
// country, files and directories, and the built-in rules against the
// country predicates that state the same facts.
#include "setup/rule_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "policy/model_info.h"
#include "policy/region_predicates.h"
#include "test_support.h"

using std::string_literals::operator""s;

namespace {

// The error of reading `text` as the file "x.rules", or "" when it reads.
std::string ErrorOf(const std::string& text) {
  RuleSet rules;
  std::string error;
  return rules.Add(text, "x.rules", &error) ? "" : error;
}

RuleSet Read(const std::string& text, const std::string& name = "x.rules") {
  RuleSet rules;
  std::string error;
  EXPECT_TRUE(rules.Add(text, name, &error)) << error;
  return rules;
}

std::string InRow(const std::string& lines) { return "<Table t>\n<Row>\n" + lines + "</Row>\n</Table>\n"; }

// The 1-based index of the row of the first table that matches, 0 for none.
size_t RowFor(const RuleSet& rules, const PrinterRecord& printer, const std::string& country) {
  const std::span<const RuleRow> rows = rules.Rows(rules.tables().at(0));
  const UString code = U(country);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rules.Matches(rows[i], printer, code)) return i + 1;
  }
  return 0;
}

PrinterRecord Printer(int32_t kind, int32_t model) {
  PrinterRecord printer;
  printer.model = {kind, model};
  return printer;
}

}  // namespace

TEST(RuleSet, MalformedFilesNameTheFileAndLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"<Table t>\n<Row>\n  Colour Red\n", "x.rules:3: unknown directive \"Colour\""},
      {"<Table t>\n<Row>\nRemovePapers A4\n</Row>\n</Table>\n", "x.rules:3: unknown directive \"RemovePapers\""},
      {"<Tables t>\n", "x.rules:1: unknown block <Tables"},
      {"<Table t>\n<Row x>\n", "x.rules:2: unknown block <Row"},
      {"<Table t>\n<Row>\nKeepAsIs\n</Row> x\n", "x.rules:4: unknown block </Row> x"},
      {InRow("ModelNumber 13-12\nKeepAsIs\n"), "x.rules:3: the range 13-12 ends before it begins"},
      {InRow("ModelNumber 1x\nKeepAsIs\n"), "x.rules:3: ModelNumber takes numbers and ranges such as 13, -1, 12-13, "
                                             "*-13 or 22-*, not \"1x\""},
      {InRow("ModelNumber *\nKeepAsIs\n"), "x.rules:3: ModelNumber takes numbers and ranges"},
      {InRow("ModelNumber 1-2-3\nKeepAsIs\n"), "x.rules:3: ModelNumber takes numbers and ranges"},
      {InRow("ModelNumber 12-+\nKeepAsIs\n"), "x.rules:3: ModelNumber takes numbers and ranges"},
      {InRow("ModelNumber 99999999999\nKeepAsIs\n"), "x.rules:3: ModelNumber takes numbers and ranges"},
      {InRow("Country jp\nKeepAsIs\n"), "x.rules:3: Country takes a country code in upper case, not \"jp\" "
                                         "(did you mean JP?)"},
      {InRow("Country JPN\nKeepAsIs\n"), "x.rules:3: Country takes two ASCII letters or three digits, not \"JPN\""},
      {InRow("Country DE !\nKeepAsIs\n"), "x.rules:3: Country takes codes, or codes each with !, not both"},
      {InRow("Country !\nKeepAsIs\n"), "x.rules:3: Country takes codes, not \"!\""},
      {InRow("Country JP !CN\nKeepAsIs\n"), "x.rules:3: Country takes codes, or codes each with !, not both"},
      {InRow("Country !JP none\nKeepAsIs\n"), "x.rules:3: Country takes codes, or codes each with !, not both"},
      {InRow("Kind Laser\nKeepAsIs\n"), "x.rules:3: Kind takes ColorLaser, MonoLaser, Ink or SInk, not \"Laser\""},
      {InRow("Kind Ink\nkind SInk\nKeepAsIs\n"), "x.rules:4: kind given again (first on line 3)"},
      {InRow("Manufacturer\nKeepAsIs\n"), "x.rules:3: Manufacturer needs a value"},
      {InRow("RemovePaper\n"), "x.rules:3: RemovePaper needs a value"},
      {InRow("RemovePaper A4/A4\n"), "x.rules:3: RemovePaper takes names as a PPD writes them (printable ASCII, no "
                                      "'/', ':' or '\"'), not \"A4/A4\""},
      {InRow("RemoveLinesNaming Env\xC3\xA9\n"), "x.rules:3: RemoveLinesNaming takes names as a PPD writes them"},
      {InRow("SetDefault Duplex\n"), "x.rules:3: SetDefault takes an option and a choice"},
      {InRow("SetDefault Duplex A B\n"), "x.rules:3: SetDefault takes an option and a choice"},
      {InRow("RecordCountry A B\n"), "x.rules:3: RecordCountry takes one keyword"},
      {InRow("KeepAsIs now\n"), "x.rules:3: KeepAsIs takes no value"},
      {InRow("RecordCountry CloseUI\n"), "x.rules:3: RecordCountry cannot rewrite *CloseUI, which shapes the PPD"},
      {InRow("RecordCountry DefaultPageSize\n"), "x.rules:3: RecordCountry cannot rewrite *DefaultPageSize"},
      {"<Table t>\n<Row>\n  Country JP\n</Row>\n</Table>\n", "x.rules:2: a row without an action"},
      {"<Table t>\n  <Row>\n  KeepAsIs\n", "x.rules:2: <Row> never closed"},
      {"\n<Table t>\n<Row>\nKeepAsIs\n</Row>\n", "x.rules:2: <Table> never closed"},
      {"<Table t>\nKind MonoLaser\n</Table>\n", "x.rules:2: Kind outside a <Row>"},
      {"KeepAsIs\n", "x.rules:1: KeepAsIs outside a <Row>"},
      {"<Row>\n", "x.rules:1: <Row> outside a <Table>"},
      {"<Table t>\n<Row>\n<Row>\n", "x.rules:3: <Row> inside the <Row> of line 2"},
      {"<Table t>\n<Table u>\n", "x.rules:2: <Table> inside the <Table> of line 1"},
      {"</Row>\n", "x.rules:1: </Row> without a <Row>"},
      {"</Table>\n", "x.rules:1: </Table> without a <Table>"},
      {"<Table t>\n<Row>\n</Table>\n", "x.rules:3: </Table> inside the <Row> of line 2"},
      {"<Table>\n", "x.rules:1: <Table> takes one name: <Table NAME>"},
      {"<Table a b>\n", "x.rules:1: <Table> takes one name: <Table NAME>"},
      {"<Table a\n", "x.rules:1: <Table> takes one name: <Table NAME>"},
      {"# a\n<Table t>\n<Row>\nKeepAsIs\n</Row>\n</Table>\nKind\0Ink\n"s, "x.rules:7: holds a zero byte"},
  };
  for (const auto& [text, error] : cases) {
    EXPECT_TRUE(ErrorOf(text).starts_with(error)) << testing::PrintToString(text) << "\n  gave " << ErrorOf(text);
  }
}

TEST(RuleSet, AMalformedFileAddsNothing) {
  RuleSet rules = Read(InRow("Country JP\nRemovePaper A4\n"), "a.rules");
  std::string error;
  EXPECT_FALSE(rules.Add("<Table u>\n<Row>\nManufacturer X*\nCountry DE\nRemovePaper B5 Letter\n</Row>\n<Row>\n",
                         "b.rules", &error));
  EXPECT_EQ(error, "b.rules:7: <Row> never closed");
  ASSERT_TRUE(rules.Add(InRow("Country CN\nRemovePaper B5\n"), "c.rules", &error)) << error;
  ASSERT_EQ(rules.tables().size(), 2u);
  EXPECT_EQ(rules.files(), (std::vector<std::string>{"a.rules", "c.rules"}));
  EXPECT_EQ(rules.row_count(), 2u);
  EXPECT_FALSE(rules.UsesNames());  // the refused file's Manufacturer left no trace
  const RuleRow& row = rules.Rows(rules.tables()[1])[0];
  EXPECT_EQ(rules.Where(row), "c.rules:2");
  const RuleNames& args = rules.Args(rules.Actions(row)[0]);
  EXPECT_EQ(std::vector<std::string_view>(args.begin(), args.end()), std::vector<std::string_view>{"B5"});
  EXPECT_TRUE(rules.MatchesCountry(row, u"CN"));
  EXPECT_FALSE(rules.MatchesCountry(row, u"DE"));
}

TEST(RuleSet, ReadsCommentsCaseBlanksAndLineEndsAsCupsFilesDo) {
  const RuleSet rules = Read(
      "# comment\r\n"
      "<table first>   # blanks and a comment after a block\r\n"
      "\t<ROW>\n"
      "    modelnumber   *--10 -5--3  13 22-*\t\n"
      "    COUNTRY JP  none\n"
      "    removepaper  A4   Post\\#1  # \"\\#\" is a '#'\n"
      "    SetDefault Duplex DuplexNoTumble\n"
      "    recordcountry ISOCountryCode\n"
      "  </row>\n"
      "</TABLE>\n"
      "\n"
      "<Table second>\n<Row>\nKeepAsIs\n</Row>\n</Table>");  // no newline at the end
  ASSERT_EQ(rules.tables().size(), 2u);
  EXPECT_EQ(rules.tables()[0].name, "first");
  EXPECT_EQ(rules.tables()[1].name, "second");
  const RuleRow& row = rules.Rows(rules.tables()[0])[0];
  EXPECT_EQ(rules.Where(row), "x.rules:3");
  const std::span<const RuleAction> actions = rules.Actions(row);
  ASSERT_EQ(actions.size(), 3u);
  EXPECT_EQ(actions[0].kind, RuleAction::kRemovePaper);
  EXPECT_EQ(actions[0].line, 6);
  const RuleNames& papers = rules.Args(actions[0]);
  EXPECT_EQ(papers.size(), 2u);
  EXPECT_EQ(std::vector<std::string_view>(papers.begin(), papers.end()), (std::vector<std::string_view>{"A4", "Post#1"}));
  EXPECT_EQ(actions[1].kind, RuleAction::kSetDefault);
  EXPECT_EQ(rules.Args(actions[1])[1], "DuplexNoTumble");
  EXPECT_EQ(actions[2].kind, RuleAction::kRecordCountry);
  EXPECT_EQ(rules.Actions(rules.Rows(rules.tables()[1])[0])[0].kind, RuleAction::kKeepAsIs);
  for (const auto& [model, country, matches] : std::vector<std::tuple<int32_t, std::string, bool>>{
           {INT32_MIN, "JP", true}, {-10, "", true}, {-9, "JP", false}, {-5, "JP", true}, {-3, "JP", true},
           {-2, "JP", false}, {0, "JP", false}, {12, "JP", false}, {13, "", true}, {21, "JP", false},
           {22, "JP", true}, {INT32_MAX, "JP", true}, {13, "DE", false}, {13, "jp", false}}) {
    EXPECT_EQ(rules.Matches(row, Printer(MonoLaser, model), U(country)), matches) << model << " " << country;
  }
}

TEST(RuleSet, TheFirstMatchingRowOfATableApplies) {
  const RuleSet rules = Read(
      "<Table t>\n"
      "<Row>\nKind MonoLaser ColorLaser\nModelNumber 12-13\nCountry !CN !none\nKeepAsIs\n</Row>\n"  // 1
      "<Row>\nManufacturer Acme*\nModelName *Jet [0-9]*\nKeepAsIs\n</Row>\n"                        // 2
      "<Row>\nNickName *\\#7*\nKeepAsIs\n</Row>\n"                                                    // 3
      "<Row>\nProduct (Beta *)\nKeepAsIs\n</Row>\n"                                                   // 4
      "<Row>\nMFG Gamma\nMDL G?\nKeepAsIs\n</Row>\n"                                                  // 5
      "<Row>\nKind SInk\nCountry none\nKeepAsIs\n</Row>\n"                                            // 6
      "</Table>\n");
  PrinterRecord acme = Printer(Ink, 1);
  acme.manufacturer = "Acme Corp";
  acme.modelName = "AcmeJet 500";
  PrinterRecord nick = Printer(Ink, 1);
  nick.nickName = "Printer #7, 1.0";
  PrinterRecord product = Printer(Ink, 1);
  product.products = {"(Alpha)", "(Beta 2)"};
  PrinterRecord device = Printer(Ink, 1);
  device.mfg = "Gamma";
  device.mdl = "G7";
  PrinterRecord near = device;
  near.mdl = "G77";
  const std::tuple<PrinterRecord, std::string, size_t> cases[] = {
      {Printer(MonoLaser, 13), "DE", 1}, {Printer(ColorLaser, 12), "JP", 1}, {Printer(MonoLaser, 13), "CN", 0},
      {Printer(MonoLaser, 13), "", 0},   {Printer(Ink, 13), "DE", 0},        {Printer(-1, -1), "DE", 0},
      {acme, "DE", 2},                   {nick, "DE", 3},                    {product, "", 4},
      {device, "JP", 5},                 {near, "JP", 0},                    {Printer(SInk, 0), "", 6},
      {Printer(SInk, 0), "DE", 0},
  };
  for (const auto& [printer, country, row] : cases) {
    EXPECT_EQ(RowFor(rules, printer, country), row) << printer.model.kind << "/" << printer.model.modelNumber << " "
                                                    << country;
  }
  EXPECT_TRUE(rules.Uses(RuleField::kProduct));
  EXPECT_FALSE(Read(InRow("Kind Ink\nKeepAsIs\n")).UsesNames());
}

TEST(RuleSet, LoadsFilesAndDirectoriesInNameOrder) {
  ScratchDir dir;
  const auto table = [](const std::string& name) { return "<Table " + name + ">\n<Row>\nKeepAsIs\n</Row>\n</Table>\n"; };
  dir.Write("d/20-b.rules", table("b"));
  dir.Write("d/10-a.rules", table("a"));
  dir.Write("d/.hidden.rules", "broken");
  dir.Write("d/notes.txt", "broken");
  dir.Write("d/sub.rules/x", "");  // a directory with the suffix is no file of rules
  const std::string single = dir.Write("c.rules", table("c"));
  std::string error;
  const std::optional<RuleSet> rules = LoadRules({dir.path() + "/d", single}, &error);
  ASSERT_TRUE(rules) << error;
  std::vector<std::string_view> names;
  for (const RuleTable& t : rules->tables()) names.push_back(t.name);
  EXPECT_EQ(names, (std::vector<std::string_view>{"a", "b", "c"}));
  EXPECT_EQ(rules->Where(rules->Rows(rules->tables()[1])[0]), dir.path() + "/d/20-b.rules:2");

  const std::string bad = dir.Write("bad.rules", table("x") + "<Row>\n");
  const std::pair<std::vector<std::string>, std::string> failures[] = {
      {{dir.path() + "/missing.rules"}, dir.path() + "/missing.rules: No such file or directory"},
      {{single, bad}, bad + ":6: <Row> outside a <Table>"},
  };
  for (const auto& [paths, message] : failures) {
    EXPECT_FALSE(LoadRules(paths, &error));
    EXPECT_EQ(error, message);
  }
  const std::optional<RuleSet> empty = LoadRules({dir.Write("empty.rules", "")}, &error);
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->tables().empty());
}

// The built-in rules say what the country predicates say.
TEST(RuleSet, BuiltinRulesAgreeWithTheCountryPredicates) {
  const RuleSet& rules = BuiltinRules();
  const auto table = [&](std::string_view name) {
    const auto found = std::find_if(rules.tables().begin(), rules.tables().end(),
                                    [&](const RuleTable& t) { return t.name == name; });
    EXPECT_NE(found, rules.tables().end()) << name;
    return *found;
  };
  const RuleTable duplex = table("duplex"), country_code = table("country-code"), papers = table("paper-sizes");
  // The model 14 rows: the statements naming the other market's envelopes.
  const auto envelopes_removed = [&](const std::string& country) {
    for (const RuleRow& row : rules.Rows(papers)) {
      if (!rules.Matches(row, Printer(Ink, 14), U(country))) continue;
      const RuleNames& names = rules.Args(rules.Actions(row)[0]);
      return std::vector<std::string_view>(names.begin(), names.end());
    }
    return std::vector<std::string_view>();
  };
  const std::vector<std::string_view> japanese = {"EnvYou4", "EnvChou3", "EnvChou4", "EnvKaku2"};
  const std::vector<std::string_view> western = {"EnvC5", "EnvDL", "Env10", "EnvMonarch"};
  for (const std::string country : {"JP", "CN", "TW", "KR", "HK", "DE", "US", "", "jp", "cn", "840"}) {
    const UString code = U(country);
    std::optional<UStringView> recorded;
    EXPECT_EQ(rules.MatchesCountry(rules.Rows(country_code)[0], code),
              shouldChangeDefaultCountryCode(nullptr, code, &recorded) == 1) << country;
    EXPECT_EQ(rules.Matches(rules.Rows(duplex)[0], Printer(MonoLaser, 13), code),
              shouldChangeDuplexDefaultEnergyStar(code) == 1) << country;
    EXPECT_EQ(envelopes_removed(country), shouldDeleteJapaneseEnvelope(nullptr, code) == 1 ? japanese : western)
        << country;
  }
}
