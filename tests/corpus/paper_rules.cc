#include "paper_rules.h"

#include <optional>

namespace corpus {

namespace {

enum class ModelTest { kAny, kIs13, kOther };

struct Row {
  bool color;
  ModelTest model;
  std::optional<std::string_view> country;  // none: any other country, "" included
  std::vector<std::string_view> names;
};

// First matching row wins; rows stand in the order their tests are made.
const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      {true, ModelTest::kAny, "JP",
       {"Executive", "210x270mm", "195x270mm", "184x260mm", "197x273mm", "ISOB5", "3x5",
        "FanFoldGermanLegal", "Env10", "EnvDL", "EnvC5", "EnvMonarch", "EnvPRC5Rotated"}},
      {true, ModelTest::kAny, "CN", {"210x270mm", "Postcard", "EnvYou4", "EnvChou3"}},
      {true, ModelTest::kAny, "TW",
       {"195x270mm", "184x260mm", "197x273mm", "Postcard", "EnvYou4", "EnvChou3"}},
      {true, ModelTest::kAny, "KR",
       {"210x270mm", "195x270mm", "184x260mm", "197x273mm", "Postcard", "EnvYou4", "EnvChou3"}},
      {true, ModelTest::kAny, std::nullopt,
       {"210x270mm", "195x270mm", "184x260mm", "197x273mm", "B6", "Postcard", "EnvYou4",
        "EnvChou3"}},
      {false, ModelTest::kAny, "JP",
       {"Executive", "210x270mm", "195x270mm", "184x260mm", "197x273mm", "ISOB5", "3x5",
        "FanFoldGermanLegal", "Env10", "EnvDL", "EnvC5", "EnvMonarch", "EnvPRC5Rotated"}},
      {false, ModelTest::kIs13, "CN",
       {"210x270mm", "Postcard", "EnvYou4", "EnvChou3", "EnvChou4", "3x5"}},
      {false, ModelTest::kOther, "CN", {"210x270mm", "Postcard", "EnvYou4", "EnvChou3", "EnvChou4"}},
      {false, ModelTest::kIs13, "TW",
       {"195x270mm", "184x260mm", "197x273mm", "Postcard", "EnvYou4", "EnvChou3", "EnvChou4",
        "3x5"}},
      {false, ModelTest::kOther, "TW",
       {"195x270mm", "184x260mm", "197x273mm", "Postcard", "EnvYou4", "EnvChou3", "EnvChou4"}},
      {false, ModelTest::kAny, std::nullopt,
       {"210x270mm", "195x270mm", "184x260mm", "197x273mm", "B5", "B6", "Postcard", "EnvYou4",
        "EnvChou3", "EnvChou4"}},
  };
  return rows;
}

bool ModelMatches(ModelTest test, int model) {
  switch (test) {
    case ModelTest::kAny: return true;
    case ModelTest::kIs13: return model == 13;
    case ModelTest::kOther: return model != 13;
  }
  return false;
}

}  // namespace

const std::vector<std::string_view>& DeletedPaperNames(const Printer& printer, std::string_view country) {
  for (const Row& row : Rows()) {
    if (row.color != printer.color || !ModelMatches(row.model, printer.model)) continue;
    if (row.country && *row.country != country) continue;
    return row.names;
  }
  static const std::vector<std::string_view> none;
  return none;
}

const std::vector<std::string_view>& AllRulePaperNames() {
  static const std::vector<std::string_view> all = [] {
    std::vector<std::string_view> names;
    for (const Row& row : Rows()) {
      for (std::string_view name : row.names) {
        bool seen = false;
        for (std::string_view known : names) seen = seen || known == name;
        if (!seen) names.push_back(name);
      }
    }
    return names;
  }();
  return all;
}

bool RewritesDuplexDefault(const Printer& printer, std::string_view country) {
  return !printer.color && (printer.model == 12 || printer.model == 13) && country != "CN";
}

bool RewritesCountryCode(std::string_view country) { return country != "JP"; }

}  // namespace corpus
