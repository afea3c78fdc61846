// Rules: what printers must not offer where, and the defaults and records a
// run sets, read from rules files (ppd-localize.rules(5)). A rules file is
// written as CUPS's own configuration files are (config_lines.h):
//
//   <Table NAME>                 tables apply in the order read; in each,
//     <Row>                      the first row whose conditions all hold
//       Kind MonoLaser ...       applies: its actions, in order
//       ModelNumber 13 12-13 *-13 22-*
//       Country CN TW none       or all negated: !JP !none
//       Manufacturer PATTERN     shell patterns (fnmatch) on what libcups
//       ModelName PATTERN        reads: ModelName, NickName, any Product,
//       NickName PATTERN         and *1284DeviceID's MFG and MDL
//       Product PATTERN
//       MFG PATTERN
//       MDL PATTERN
//       RemovePaper NAME...      actions; a row has one at least
//       RemoveLinesNaming NAME...
//       SetDefault OPTION CHOICE
//       RecordCountry KEYWORD
//       KeepAsIs                 no edit: the row applies and changes nothing
//     </Row>
//   </Table>
//
// A row without a condition on something matches any value of it. Country
// codes are upper case; `none` is the run without a country. A malformed
// file is refused whole, naming the file and line.
//
// A set of a thousand rows is read in a fraction of a millisecond: rows
// and actions are kept in a few arrays of the set, their names as views
// into the files' texts, which the set keeps.
#ifndef PPDLOCALIZE_SETUP_RULE_SET_H_
#define PPDLOCALIZE_SETUP_RULE_SET_H_

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "policy/printer_record.h"
#include "ppdtext/ustring.h"

enum class RuleField : unsigned { kManufacturer, kModelName, kNickName, kProduct, kMFG, kMDL };

// A run of entries of one of the set's arrays.
struct RuleSpan {
  uint32_t first = 0;
  uint32_t size = 0;
};

// The blank-separated words of a line's value, as written: the names of an
// action, the codes of a Country condition. Split as they are walked, so
// that reading a file stores a view of each line, not of each word.
class RuleNames {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::string_view*;
    using reference = std::string_view;
    Iterator() = default;
    explicit Iterator(std::string_view rest) : rest_(rest) { ++*this; }
    std::string_view operator*() const { return word_; }
    Iterator& operator++();
    Iterator operator++(int) {
      Iterator was = *this;
      ++*this;
      return was;
    }
    bool operator==(const Iterator& other) const { return word_.data() == other.word_.data(); }

   private:
    std::string_view rest_, word_;
  };

  RuleNames() = default;
  RuleNames(std::string_view words, uint32_t count) : words_(words), count_(count) {}
  Iterator begin() const { return Iterator(words_); }
  Iterator end() const { return Iterator(); }
  uint32_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  std::string_view operator[](uint32_t i) const;  // i < size()

 private:
  std::string_view words_;
  uint32_t count_ = 0;
};

struct RuleAction {
  enum Kind { kRemovePaper, kRemoveLinesNaming, kSetDefault, kRecordCountry, kKeepAsIs } kind;
  RuleNames args;  // names; OPTION and CHOICE; KEYWORD; none
  int line;
};

struct RulePattern {
  RuleField field;
  uint32_t at;  // in the set's pattern text, ended by a zero byte
};

struct RuleRow {
  uint32_t file;                // index into RuleSet::files()
  int line;                     // of its <Row>
  uint8_t kinds = 0;            // a bit for each ModelKind (0 to 3) it is for; any kind when 0
  bool countries_excluded = false;  // for every country but `countries`
  RuleSpan models;              // inclusive ranges; any model when empty
  RuleNames countries;          // codes as written (with their '!'; `none`); any country when empty
  RuleSpan patterns;
  RuleSpan actions;
};

struct RuleTable {
  std::string_view name;
  RuleSpan rows;
};

class RuleSet {
 public:
  RuleSet() = default;
  RuleSet(RuleSet&&) = default;
  RuleSet& operator=(RuleSet&&) = default;

  // The names of the files read, for messages and the report ("built-in"
  // for the rules built into the programs), and the tables, in order.
  const std::vector<std::string>& files() const { return files_; }
  const std::vector<RuleTable>& tables() const { return tables_; }
  std::span<const RuleRow> Rows(const RuleTable& table) const { return Of(rows_, table.rows); }
  std::span<const RuleAction> Actions(const RuleRow& row) const { return Of(actions_, row.actions); }
  const RuleNames& Args(const RuleAction& action) const { return action.args; }
  size_t row_count() const { return rows_.size(); }

  // Whether the row's country condition holds for `country`.
  bool MatchesCountry(const RuleRow& row, UStringView country) const;
  // Whether all its conditions hold.
  bool Matches(const RuleRow& row, const PrinterRecord& printer, UStringView country) const;

  // Whether any row has a condition on `field`, on any of the names.
  bool Uses(RuleField field) const { return (fields_used_ >> static_cast<unsigned>(field)) & 1; }
  bool UsesNames() const { return fields_used_ != 0; }

  // "FILE:LINE" of a row.
  std::string Where(const RuleRow& row) const { return files_[row.file] + ":" + std::to_string(row.line); }

  // Reads the rules text of the file `name` and adds its tables after those
  // read before. False, with `error` saying "NAME:LINE: what is wrong" and
  // nothing added, for a malformed text.
  bool Add(std::string text, const std::string& name, std::string* error);
  // The same for a text that `owner` holds, which the set keeps.
  bool Add(std::string_view text, std::shared_ptr<const void> owner, const std::string& name, std::string* error);

 private:
  friend class RulesParser;
  template <typename T>
  static std::span<const T> Of(const std::vector<T>& all, RuleSpan span) {
    return std::span<const T>(all).subspan(span.first, span.size);
  }

  std::vector<std::string> files_;
  std::vector<std::shared_ptr<const void>> texts_;  // what the views point into
  std::vector<RuleTable> tables_;
  std::vector<RuleRow> rows_;
  std::vector<RuleAction> actions_;
  std::vector<std::pair<int32_t, int32_t>> models_;
  std::vector<RulePattern> patterns_;
  std::string pattern_text_;
  unsigned fields_used_ = 0;
};

// Whether two records of the same printer agree on everything `rules` may
// ask of them.
bool SameForRules(const RuleSet& rules, const PrinterRecord& a, const PrinterRecord& b);

// The rules at each of `paths`, in order: a file, or a directory whose files
// ending in ".rules" are read in name order. Nothing, with `error` saying
// "PATH: reason" or "FILE:LINE: what is wrong", when one cannot be read or
// is malformed.
std::optional<RuleSet> LoadRules(const std::vector<std::string>& paths, std::string* error);

// The rules built into the programs (rules/default.rules), read once.
const RuleSet& BuiltinRules();

// Their text, as ppd-localize --print-rules prints it.
extern const char kBuiltinRulesText[];

#endif  // PPDLOCALIZE_SETUP_RULE_SET_H_
