// Reading a rules file (RuleSet::Add): the blocks, the conditions and the
// actions of rule_set.h, each checked as it is read, into the set's arrays.
#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>

#include "policy/model_info.h"
#include "setup/config_lines.h"
#include "setup/locale_country.h"
#include "setup/rule_set.h"

namespace {

enum class Directive {
  kTable, kRow, kEndRow, kEndTable,                                              // blocks
  kKind, kModelNumber, kCountry,                                                 // conditions
  kManufacturer, kModelName, kNickName, kProduct, kMFG, kMDL,                    // patterns
  kRemovePaper, kRemoveLinesNaming, kSetDefault, kRecordCountry, kKeepAsIs,      // actions
};
constexpr std::pair<std::string_view, Directive> kDirectives[] = {
    {"<Table", Directive::kTable},
    {"<Row>", Directive::kRow},
    {"</Row>", Directive::kEndRow},
    {"</Table>", Directive::kEndTable},
    {"Kind", Directive::kKind},
    {"ModelNumber", Directive::kModelNumber},
    {"Country", Directive::kCountry},
    {"Manufacturer", Directive::kManufacturer},
    {"ModelName", Directive::kModelName},
    {"NickName", Directive::kNickName},
    {"Product", Directive::kProduct},
    {"MFG", Directive::kMFG},
    {"MDL", Directive::kMDL},
    {"RemovePaper", Directive::kRemovePaper},
    {"RemoveLinesNaming", Directive::kRemoveLinesNaming},
    {"SetDefault", Directive::kSetDefault},
    {"RecordCountry", Directive::kRecordCountry},
    {"KeepAsIs", Directive::kKeepAsIs},
};
constexpr int kConditions = 9;  // Kind to MDL, each given once in a row at most

constexpr std::pair<std::string_view, int32_t> kKinds[] = {
    {"ColorLaser", ColorLaser}, {"MonoLaser", MonoLaser}, {"Ink", Ink}, {"SInk", SInk}};

constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
// The same without a branch, for the directive of every line.
inline char FastLower(char c) {
  return static_cast<char>(c + (static_cast<unsigned char>(c - 'A') < 26 ? 'a' - 'A' : 0));
}

// Directives are matched without regard to case, as CUPS matches them. A
// file holds thousands: the length picks the few candidates to compare.
constexpr size_t kLongestDirective = 17;
struct DirectiveIndex {
  int8_t of_length[kLongestDirective + 1][3];  // indexes into kDirectives, -1 after the last
  char lower[std::size(kDirectives)][kLongestDirective];
};
constexpr DirectiveIndex kDirectiveIndex = [] {
  DirectiveIndex index{};
  for (auto& candidates : index.of_length) std::fill(std::begin(candidates), std::end(candidates), int8_t{-1});
  for (size_t i = 0; i < std::size(kDirectives); ++i) {
    const std::string_view spelled = kDirectives[i].first;
    int8_t* slot = index.of_length[spelled.size()];
    while (*slot != -1) ++slot;
    *slot = static_cast<int8_t>(i);
    for (size_t at = 0; at < spelled.size(); ++at) index.lower[i][at] = Lower(spelled[at]);
  }
  return index;
}();

std::optional<Directive> DirectiveOf(std::string_view name) {
  if (name.size() > kLongestDirective) return std::nullopt;
  const int8_t* const candidates = kDirectiveIndex.of_length[name.size()];
  for (const int8_t* c = candidates; c < candidates + 3 && *c >= 0; ++c) {
    const char* lower = kDirectiveIndex.lower[*c];
    size_t at = 0;
    while (at < name.size() && FastLower(name[at]) == lower[at]) ++at;
    if (at == name.size()) return kDirectives[*c].second;
  }
  return std::nullopt;
}

// What a byte is to the words of a value: a blank between words, a byte a
// PPD name may hold (printable ASCII but '/', ':' and '"', which end one),
// or another.
enum ByteKind : uint8_t { kNameByte, kBlank, kOtherByte };
constexpr std::array<uint8_t, 256> kByteKinds = [] {
  std::array<uint8_t, 256> kinds{};
  for (int c = 0; c < 256; ++c) {
    const bool name = c > ' ' && c < 0x7F && c != '/' && c != ':' && c != '"';
    kinds[c] = c == ' ' || c == '\t' ? kBlank : name ? kNameByte : kOtherByte;
  }
  return kinds;
}();

// Calls on(word, is_name) for each blank-separated word of `value` until it
// answers false, `is_name` saying whether the word is a name a PPD can give
// an option or a keyword; answers whether all were taken.
template <typename On>
bool ForEachWord(std::string_view value, On on) {
  const auto* const bytes = reinterpret_cast<const unsigned char*>(value.data());
  for (size_t at = 0; at < value.size();) {
    size_t end = at;
    uint8_t seen = kNameByte;
    for (; end < value.size(); ++end) {
      const uint8_t kind = kByteKinds[bytes[end]];
      if (kind == kBlank) break;
      seen |= kind;
    }
    if (end > at && !on(value.substr(at, end - at), seen == kNameByte)) return false;
    at = end + 1;
  }
  return true;
}

// A signed 32-bit number, or `*` (`unbounded` then).
std::optional<int32_t> Bound(std::string_view text, int32_t unbounded) {
  if (text == "*") return unbounded;
  int32_t n = 0;
  const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), n);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;  // nothing read is an error
  return n;
}

// "13", "-1", "12-13", "-5--1", "*-13", "22-*".
std::optional<std::pair<int32_t, int32_t>> ModelRange(std::string_view item) {
  const size_t dash = item.find('-', 1);  // a first '-' is a sign
  if (dash == std::string_view::npos) {
    const std::optional<int32_t> n = item == "*" ? std::nullopt : Bound(item, 0);
    if (!n) return std::nullopt;
    return std::pair(*n, *n);
  }
  const std::optional<int32_t> low = Bound(item.substr(0, dash), INT32_MIN);
  const std::optional<int32_t> high = Bound(item.substr(dash + 1), INT32_MAX);
  if (!low || !high) return std::nullopt;
  return std::pair(*low, *high);
}

// Keywords whose statements libcups reads as the PPD's structure: a
// country written in place of their value would break the file.
bool IsStructureKeyword(std::string_view keyword) {
  constexpr std::string_view kStructure[] = {
      "PPD-Adobe", "OpenUI", "CloseUI", "JCLOpenUI", "JCLCloseUI", "OpenGroup", "CloseGroup", "OpenSubGroup",
      "CloseSubGroup", "OrderDependency", "NonUIOrderDependency", "UIConstraints", "NonUIConstraints", "Include", "End"};
  return keyword.starts_with("Default") ||
         std::find(std::begin(kStructure), std::end(kStructure), keyword) != std::end(kStructure);
}

std::string Quoted(std::string_view text) { return std::string(1, '"').append(text).append(1, '"'); }

}  // namespace

// Reads one file's lines into a set, which it leaves as it was when the
// file is malformed.
class RulesParser {
 public:
  RulesParser(RuleSet& set, const std::string& name)
      : set_(set), name_(name), file_(static_cast<uint32_t>(set.files_.size())),
        sizes_{set.tables_.size(), set.rows_.size(), set.actions_.size(), set.models_.size(), set.patterns_.size(),
               set.pattern_text_.size()},
        fields_used_(set.fields_used_) {}

  bool Line(const ConfigLine& line);
  bool End();
  const std::string& error() const { return error_; }
  void Undo();
  void Keep() { set_.fields_used_ = fields_used_; }

 private:
  bool Fail(int line, const std::string& reason) {
    error_ = name_ + ":" + std::to_string(line) + ": " + reason;
    return false;
  }
  RuleRow& row() { return set_.rows_.back(); }
  bool Block(const ConfigLine& line, Directive directive);
  bool Condition(const ConfigLine& line, Directive directive);
  bool Action(const ConfigLine& line, Directive directive);

  RuleSet& set_;
  const std::string& name_;
  uint32_t file_;
  size_t sizes_[6];  // of the set's arrays before this file
  unsigned fields_used_;
  int table_line_ = 0;  // the open <Table>'s line, or 0
  int row_line_ = 0;    // the open <Row>'s line, or 0
  int condition_lines_[kConditions] = {};
  std::string error_;
};

bool RulesParser::Line(const ConfigLine& line) {
  const std::optional<Directive> directive = DirectiveOf(line.directive);
  if (!directive) {
    if (DirectiveIs(line.directive, "<Table>")) return Fail(line.number, "<Table> takes one name: <Table NAME>");
    if (line.directive.starts_with('<')) return Fail(line.number, "unknown block " + std::string(line.directive));
    return Fail(line.number, "unknown directive " + Quoted(line.directive));
  }
  if (*directive <= Directive::kEndTable) return Block(line, *directive);
  if (row_line_ == 0) return Fail(line.number, std::string(line.directive) + " outside a <Row>");
  if (*directive <= Directive::kMDL) return Condition(line, *directive);
  return Action(line, *directive);
}

bool RulesParser::Block(const ConfigLine& line, Directive directive) {
  if (directive == Directive::kTable) {
    if (table_line_ != 0) return Fail(line.number, "<Table> inside the <Table> of line " + std::to_string(table_line_));
    std::string_view name = line.value;
    if (!name.ends_with('>')) return Fail(line.number, "<Table> takes one name: <Table NAME>");
    name.remove_suffix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    if (name.empty() || name.find_first_of(" \t") != std::string_view::npos) {
      return Fail(line.number, "<Table> takes one name: <Table NAME>");
    }
    set_.tables_.push_back({name, {static_cast<uint32_t>(set_.rows_.size()), 0}});
    table_line_ = line.number;
    return true;
  }
  if (!line.value.empty()) return Fail(line.number, "unknown block " + std::string(line.directive) + " " + std::string(line.value));
  if (directive == Directive::kRow) {
    if (table_line_ == 0) return Fail(line.number, "<Row> outside a <Table>");
    if (row_line_ != 0) return Fail(line.number, "<Row> inside the <Row> of line " + std::to_string(row_line_));
    RuleRow added;
    added.file = file_;
    added.line = line.number;
    added.actions.first = static_cast<uint32_t>(set_.actions_.size());
    set_.rows_.push_back(added);
    row_line_ = line.number;
    std::fill(std::begin(condition_lines_), std::end(condition_lines_), 0);
    return true;
  }
  if (directive == Directive::kEndRow) {
    if (row_line_ == 0) return Fail(line.number, "</Row> without a <Row>");
    if (row().actions.size == 0) return Fail(row_line_, "a row without an action");
    ++set_.tables_.back().rows.size;
    row_line_ = 0;
    return true;
  }
  if (row_line_ != 0) return Fail(line.number, "</Table> inside the <Row> of line " + std::to_string(row_line_));
  if (table_line_ == 0) return Fail(line.number, "</Table> without a <Table>");
  table_line_ = 0;
  return true;
}

bool RulesParser::Condition(const ConfigLine& line, Directive directive) {
  const std::string_view spelled = line.directive;
  int& given = condition_lines_[static_cast<int>(directive) - static_cast<int>(Directive::kKind)];
  if (given != 0) return Fail(line.number, std::string(spelled) + " given again (first on line " + std::to_string(given) + ")");
  given = line.number;
  if (line.value.empty()) return Fail(line.number, std::string(spelled) + " needs a value");
  RuleRow& r = row();
  if (directive >= Directive::kManufacturer) {  // a pattern: the whole value, blanks and all
    const auto field = static_cast<RuleField>(static_cast<int>(directive) - static_cast<int>(Directive::kManufacturer));
    fields_used_ |= 1u << static_cast<unsigned>(field);
    if (r.patterns.size == 0) r.patterns.first = static_cast<uint32_t>(set_.patterns_.size());
    ++r.patterns.size;  // a row's patterns are read one after another
    // Kept with a zero byte after it, for fnmatch.
    set_.patterns_.push_back({field, static_cast<uint32_t>(set_.pattern_text_.size())});
    set_.pattern_text_.append(line.value).push_back('\0');
    return true;
  }
  if (directive == Directive::kModelNumber) r.models.first = static_cast<uint32_t>(set_.models_.size());
  return ForEachWord(line.value, [&](std::string_view item, bool) {
    if (directive == Directive::kKind) {
      const auto* kind = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const auto& k) { return item == k.first; });
      if (kind == std::end(kKinds)) return Fail(line.number, "Kind takes ColorLaser, MonoLaser, Ink or SInk, not " + Quoted(item));
      r.kinds |= static_cast<uint8_t>(1u << kind->second);
      return true;
    }
    if (directive == Directive::kModelNumber) {
      const std::optional<std::pair<int32_t, int32_t>> range = ModelRange(item);
      if (!range) {
        return Fail(line.number, "ModelNumber takes numbers and ranges such as 13, -1, 12-13, *-13 or 22-*, not " +
                                     Quoted(item));
      }
      if (range->first > range->second) return Fail(line.number, "the range " + std::string(item) + " ends before it begins");
      set_.models_.push_back(*range);
      ++r.models.size;
      return true;
    }
    const bool excluded = item.front() == '!';
    const std::string_view code = item.substr(excluded ? 1 : 0);
    if (!r.countries.empty() && excluded != r.countries_excluded) {
      return Fail(line.number, "Country takes codes, or codes each with !, not both");
    }
    r.countries_excluded = excluded;
    const bool usual = code.size() == 2 && code[0] >= 'A' && code[0] <= 'Z' && code[1] >= 'A' && code[1] <= 'Z';
    if (!usual && code != "none") {
      const std::optional<std::string> problem =
          code.empty() ? std::optional<std::string>("takes codes, not \"!\"") : GivenCountryCodeProblem(code);
      if (problem) return Fail(line.number, "Country " + *problem);
    }
    r.countries = RuleNames(line.value, r.countries.size() + 1);
    return true;
  });
}

bool RulesParser::Action(const ConfigLine& line, Directive directive) {
  const std::string_view spelled = line.directive;
  const RuleAction::Kind kind = static_cast<RuleAction::Kind>(static_cast<int>(directive) - static_cast<int>(Directive::kRemovePaper));
  uint32_t count = 0;
  std::string_view last;
  const bool read = ForEachWord(line.value, [&](std::string_view arg, bool is_name) {
    if (!is_name) {
      return Fail(line.number, std::string(spelled) + " takes names as a PPD writes them (printable ASCII, no '/', ':' or '\"'), not " +
                                   Quoted(arg));
    }
    last = arg;
    ++count;
    return true;
  });
  if (!read) return false;
  const uint32_t wanted = kind == RuleAction::kSetDefault ? 2 : kind == RuleAction::kRecordCountry ? 1 : 0;
  if (kind == RuleAction::kKeepAsIs && count != 0) return Fail(line.number, "KeepAsIs takes no value");
  if (kind != RuleAction::kKeepAsIs && count == 0) return Fail(line.number, std::string(spelled) + " needs a value");
  if (wanted != 0 && count != wanted) {
    return Fail(line.number, std::string(spelled) + (wanted == 2 ? " takes an option and a choice" : " takes one keyword"));
  }
  if (kind == RuleAction::kRecordCountry && IsStructureKeyword(last)) {
    return Fail(line.number, "RecordCountry cannot rewrite *" + std::string(last) + ", which shapes the PPD for libcups");
  }
  set_.actions_.push_back({kind, RuleNames(line.value, count), line.number});
  ++row().actions.size;
  return true;
}

bool RulesParser::End() {
  if (row_line_ != 0) return Fail(row_line_, "<Row> never closed");
  if (table_line_ != 0) return Fail(table_line_, "<Table> never closed");
  return true;
}

void RulesParser::Undo() {
  set_.tables_.resize(sizes_[0]);
  set_.rows_.resize(sizes_[1]);
  set_.actions_.resize(sizes_[2]);
  set_.models_.resize(sizes_[3]);
  set_.patterns_.resize(sizes_[4]);
  set_.pattern_text_.resize(sizes_[5]);
}

bool RuleSet::Add(std::string text, const std::string& name, std::string* error) {
  auto held = std::make_shared<const std::string>(std::move(text));
  const std::string_view view = *held;
  return Add(view, std::move(held), name, error);
}

bool RuleSet::Add(std::string_view text, std::shared_ptr<const void> owner, const std::string& name,
                  std::string* error) {
  std::vector<std::shared_ptr<const void>> unescaped;
  // Room for what a text of this size may hold, so that the arrays are not
  // copied as they grow; a large reservation is only address space until
  // used. A row takes fifty bytes of text at least.
  rows_.reserve(rows_.size() + text.size() / 50);
  actions_.reserve(actions_.size() + text.size() / 50);
  RulesParser parser(*this, name);
  const int zero = ForEachConfigLine(text, [&](const ConfigLine& line) {
    if (line.directive.data() >= text.data() && line.directive.data() < text.data() + text.size()) {
      return parser.Line(line);
    }
    // A line with "\#" is read from a scratch string: the views kept must
    // point into a copy that lives with the set.
    auto copy = std::make_shared<const std::string>(
        line.directive.data(), static_cast<size_t>(line.value.data() + line.value.size() - line.directive.data()));
    const std::string_view kept = *copy;
    unescaped.push_back(std::move(copy));
    return parser.Line({line.number, kept.substr(0, line.directive.size()),
                        kept.substr(static_cast<size_t>(line.value.data() - line.directive.data()))});
  });
  if (zero != 0 || !parser.error().empty() || !parser.End()) {
    *error = zero != 0 ? name + ":" + std::to_string(zero) + ": holds a zero byte" : parser.error();
    parser.Undo();
    return false;
  }
  parser.Keep();
  files_.push_back(name);
  texts_.push_back(std::move(owner));
  for (auto& copy : unescaped) texts_.push_back(std::move(copy));
  return true;
}
