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
#ifndef PPDLOCALIZE_SETUP_RULE_SET_H_
#define PPDLOCALIZE_SETUP_RULE_SET_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "policy/printer_record.h"
#include "ppdtext/ustring.h"

enum class RuleField : unsigned { kManufacturer, kModelName, kNickName, kProduct, kMFG, kMDL };

struct RuleAction {
  enum Kind { kRemovePaper, kRemoveLinesNaming, kSetDefault, kRecordCountry, kKeepAsIs } kind;
  std::vector<std::string_view> args;  // names; OPTION and CHOICE; KEYWORD; none (ASCII, in the rules' text)
  int line;
};

struct RuleRow {
  size_t file;  // index into RuleSet::files
  int line;     // of its <Row>
  std::vector<int32_t> kinds;                          // any kind when empty
  std::vector<std::pair<int32_t, int32_t>> models;     // inclusive ranges; any model when empty
  std::vector<std::string_view> countries;             // "" for no country; any country when empty
  bool countries_excluded = false;                     // for every country but those
  std::vector<std::pair<RuleField, std::string_view>> patterns;
  std::vector<RuleAction> actions;

  // Whether the row's country condition holds for `country`.
  bool MatchesCountry(UStringView country) const;
  // Whether all its conditions hold.
  bool Matches(const PrinterRecord& printer, UStringView country) const;
};

struct RuleTable {
  std::string_view name;
  std::vector<RuleRow> rows;
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

  // Whether any row has a condition on `field`.
  bool Uses(RuleField field) const { return (fields_used_ >> static_cast<unsigned>(field)) & 1; }

  // "FILE:LINE" of a row or an action.
  std::string Where(size_t file, int line) const { return files_[file] + ":" + std::to_string(line); }

  // Reads the rules text of the file `name` and adds its tables after those
  // read before. False, with `error` saying "NAME:LINE: what is wrong" and
  // nothing added, for a malformed text.
  bool Add(std::string text, const std::string& name, std::string* error);

 private:
  std::vector<std::string> files_;
  std::vector<std::unique_ptr<const std::string>> texts_;  // what the views point into
  std::vector<RuleTable> tables_;
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
