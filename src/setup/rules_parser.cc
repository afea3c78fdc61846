// Reading a rules file (RuleSet::Add): the blocks, the conditions and the
// actions of rule_set.h, each checked as it is read.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "policy/model_info.h"
#include "setup/config_lines.h"
#include "setup/locale_country.h"
#include "setup/rule_set.h"

namespace {

constexpr std::pair<const char*, int32_t> kKinds[] = {
    {"ColorLaser", ColorLaser}, {"MonoLaser", MonoLaser}, {"Ink", Ink}, {"SInk", SInk}};
constexpr std::pair<const char*, RuleField> kPatternFields[] = {
    {"Manufacturer", RuleField::kManufacturer}, {"ModelName", RuleField::kModelName},
    {"NickName", RuleField::kNickName},         {"Product", RuleField::kProduct},
    {"MFG", RuleField::kMFG},                   {"MDL", RuleField::kMDL}};
constexpr std::pair<const char*, RuleAction::Kind> kActions[] = {
    {"RemovePaper", RuleAction::kRemovePaper}, {"RemoveLinesNaming", RuleAction::kRemoveLinesNaming},
    {"SetDefault", RuleAction::kSetDefault}, {"RecordCountry", RuleAction::kRecordCountry},
    {"KeepAsIs", RuleAction::kKeepAsIs}};

std::vector<std::string_view> Words(std::string_view value) {
  std::vector<std::string_view> words;
  while (!value.empty()) {
    const size_t end = std::min(value.find_first_of(" \t"), value.size());
    if (end > 0) words.push_back(value.substr(0, end));
    value.remove_prefix(std::min(value.size(), end + 1));
  }
  return words;
}

// A name a PPD can give an option or a keyword: printable ASCII without the
// characters that end one (blanks, '/', ':', '"').
bool IsPPDName(std::string_view name) {
  for (const char c : name) {
    if (c <= ' ' || c >= 0x7F || c == '/' || c == ':' || c == '"') return false;
  }
  return !name.empty();
}

// A signed 32-bit number, or `*` (`unbounded` then).
std::optional<int32_t> Bound(std::string_view text, int32_t unbounded) {
  if (text == "*") return unbounded;
  if (text.empty() || text.size() > 11) return std::nullopt;
  const std::string digits(text);
  char* end = nullptr;
  errno = 0;
  const long n = std::strtol(digits.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || n < INT32_MIN || n > INT32_MAX || !(std::isdigit(digits.back()))) {
    return std::nullopt;
  }
  return static_cast<int32_t>(n);
}

// "13", "-1", "12-13", "-5--1", "*-13", "22-*".
std::optional<std::pair<int32_t, int32_t>> ModelRange(std::string_view item) {
  const size_t dash = item.find('-', 1);  // a first '-' is a sign
  if (dash == std::string_view::npos) {
    const std::optional<int32_t> n = Bound(item, 0);
    if (!n || item == "*") return std::nullopt;
    return std::pair(*n, *n);
  }
  const std::optional<int32_t> low = Bound(item.substr(0, dash), INT32_MIN);
  const std::optional<int32_t> high = Bound(item.substr(dash + 1), INT32_MAX);
  if (!low || !high) return std::nullopt;
  return std::pair(*low, *high);
}

// What a row holds while it is read.
struct OpenRow {
  RuleRow row;
  int lines[10] = {};  // where each condition was given, to refuse it twice
};

class Parser {
 public:
  Parser(size_t file, const std::string& name, unsigned* fields_used)
      : file_(file), name_(name), fields_used_(fields_used) {}

  // Reads the line; false, with the reason, when it is wrong.
  bool Line(const ConfigLine& line);
  // After the last line: false when a block is left open.
  bool End();

  std::vector<RuleTable>& tables() { return tables_; }
  const std::string& error() const { return error_; }

 private:
  bool Fail(int line, const std::string& reason) {
    error_ = name_ + ":" + std::to_string(line) + ": " + reason;
    return false;
  }
  bool Block(const ConfigLine& line);
  bool Condition(const ConfigLine& line, std::string_view name, int slot);
  bool Action(const ConfigLine& line, std::string_view name, RuleAction::Kind kind);

  size_t file_;
  const std::string& name_;
  unsigned* fields_used_;
  std::vector<RuleTable> tables_;
  int table_line_ = 0;  // the open <Table>'s line, or 0
  std::optional<OpenRow> row_;
  std::string error_;
};

bool Parser::Line(const ConfigLine& line) {
  const std::string_view d = line.directive;
  if (!d.empty() && d.front() == '<') return Block(line);
  if (!row_) return Fail(line.number, std::string(d) + " outside a <Row>");
  if (DirectiveIs(d, "Kind")) return Condition(line, "Kind", 0);
  if (DirectiveIs(d, "ModelNumber")) return Condition(line, "ModelNumber", 1);
  if (DirectiveIs(d, "Country")) return Condition(line, "Country", 2);
  for (size_t i = 0; i < std::size(kPatternFields); ++i) {
    if (DirectiveIs(d, kPatternFields[i].first)) return Condition(line, kPatternFields[i].first, 3 + static_cast<int>(i));
  }
  for (const auto& [name, kind] : kActions) {
    if (DirectiveIs(d, name)) return Action(line, name, kind);
  }
  return Fail(line.number, "unknown directive \"" + std::string(d) + "\"");
}

bool Parser::Block(const ConfigLine& line) {
  const std::string_view d = line.directive;
  if (DirectiveIs(d, "<Table")) {
    if (table_line_ != 0) return Fail(line.number, "<Table> inside the <Table> of line " + std::to_string(table_line_));
    std::string_view name = line.value;
    if (name.empty() || name.back() != '>' || Words(name.substr(0, name.size() - 1)).size() != 1) {
      return Fail(line.number, "<Table> takes one name: <Table NAME>");
    }
    name.remove_suffix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    tables_.push_back({name, {}});
    table_line_ = line.number;
    return true;
  }
  if (!line.value.empty()) return Fail(line.number, "unknown block " + std::string(d) + " " + std::string(line.value));
  if (DirectiveIs(d, "<Row>")) {
    if (table_line_ == 0) return Fail(line.number, "<Row> outside a <Table>");
    if (row_) return Fail(line.number, "<Row> inside the <Row> of line " + std::to_string(row_->row.line));
    row_.emplace();
    row_->row.file = file_;
    row_->row.line = line.number;
    return true;
  }
  if (DirectiveIs(d, "</Row>")) {
    if (!row_) return Fail(line.number, "</Row> without a <Row>");
    if (row_->row.actions.empty()) return Fail(row_->row.line, "a row without an action");
    tables_.back().rows.push_back(std::move(row_->row));
    row_.reset();
    return true;
  }
  if (DirectiveIs(d, "</Table>")) {
    if (row_) return Fail(line.number, "</Table> inside the <Row> of line " + std::to_string(row_->row.line));
    if (table_line_ == 0) return Fail(line.number, "</Table> without a <Table>");
    table_line_ = 0;
    return true;
  }
  return Fail(line.number, "unknown block " + std::string(d));
}

bool Parser::Condition(const ConfigLine& line, std::string_view name, int slot) {
  const std::string spelled(name);
  if (row_->lines[slot] != 0) {
    return Fail(line.number, spelled + " given again (first on line " + std::to_string(row_->lines[slot]) + ")");
  }
  row_->lines[slot] = line.number;
  if (line.value.empty()) return Fail(line.number, spelled + " needs a value");
  RuleRow& row = row_->row;
  if (slot >= 3) {  // a pattern: the whole value, blanks and all
    const RuleField field = kPatternFields[slot - 3].second;
    *fields_used_ |= 1u << static_cast<unsigned>(field);
    row.patterns.emplace_back(field, line.value);
    return true;
  }
  for (const std::string_view item : Words(line.value)) {
    const auto quoted = [&] { return std::string(1, '"').append(item).append(1, '"'); };
    if (slot == 0) {
      const auto* kind = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const auto& k) { return item == k.first; });
      if (kind == std::end(kKinds)) return Fail(line.number, "Kind takes ColorLaser, MonoLaser, Ink or SInk, not " + quoted());
      row.kinds.push_back(kind->second);
    } else if (slot == 1) {
      const std::optional<std::pair<int32_t, int32_t>> range = ModelRange(item);
      if (!range) {
        return Fail(line.number, "ModelNumber takes numbers and ranges such as 13, -1, 12-13, *-13 or 22-*, not " + quoted());
      }
      if (range->first > range->second) return Fail(line.number, "the range " + std::string(item) + " ends before it begins");
      row.models.push_back(*range);
    } else {
      const bool excluded = item.front() == '!';
      const std::string_view code = item.substr(excluded ? 1 : 0);
      if (!row.countries.empty() && excluded != row.countries_excluded) {
        return Fail(line.number, "Country takes codes, or codes each with !, not both");
      }
      row.countries_excluded = excluded;
      if (code == "none") {
        row.countries.push_back({});
        continue;
      }
      const std::optional<std::string> problem = code.empty() ? std::optional<std::string>("takes codes, not \"!\"")
                                                              : GivenCountryCodeProblem(code);
      if (problem) return Fail(line.number, "Country " + *problem);
      row.countries.push_back(code);
    }
  }
  return true;
}

bool Parser::Action(const ConfigLine& line, std::string_view name, RuleAction::Kind kind) {
  const std::string spelled(name);
  std::vector<std::string_view> args = Words(line.value);
  if (kind == RuleAction::kKeepAsIs) {
    if (!args.empty()) return Fail(line.number, "KeepAsIs takes no value");
    row_->row.actions.push_back({kind, {}, line.number});
    return true;
  }
  const size_t wanted = kind == RuleAction::kSetDefault ? 2 : kind == RuleAction::kRecordCountry ? 1 : 0;
  if (args.empty()) return Fail(line.number, spelled + " needs a value");
  if (wanted != 0 && args.size() != wanted) {
    return Fail(line.number, spelled + (wanted == 2 ? " takes an option and a choice" : " takes one keyword"));
  }
  for (const std::string_view arg : args) {
    if (!IsPPDName(arg)) {
      return Fail(line.number, spelled + " takes names as a PPD writes them (printable ASCII, no '/', ':' or '\"'), not \"" +
                                   std::string(arg) + "\"");
    }
  }
  row_->row.actions.push_back({kind, std::move(args), line.number});
  return true;
}

bool Parser::End() {
  if (row_) return Fail(row_->row.line, "<Row> never closed");
  if (table_line_ != 0) return Fail(table_line_, "<Table> never closed");
  return true;
}

}  // namespace

bool RuleSet::Add(std::string text, const std::string& name, std::string* error) {
  auto held = std::make_unique<const std::string>(std::move(text));
  unsigned fields = fields_used_;
  Parser parser(files_.size(), name, &fields);
  const int zero = ForEachConfigLine(*held, [&](const ConfigLine& line) { return parser.Line(line); });
  const bool read = zero == 0 && parser.error().empty() && parser.End();
  if (!read) {
    *error = zero != 0 ? name + ":" + std::to_string(zero) + ": holds a zero byte" : parser.error();
    return false;
  }
  files_.push_back(name);
  texts_.push_back(std::move(held));
  for (RuleTable& table : parser.tables()) tables_.push_back(std::move(table));
  fields_used_ = fields;
  return true;
}
