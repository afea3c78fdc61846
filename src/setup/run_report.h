// The summary of a run that --report writes on standard error, for people:
//
//   ppd-localize: report for <file>
//     printer: <monochrome laser (MonoLaser)|colour laser (ColorLaser)|...>, model <n>
//     country: <code or none>, from <--country|LC_ALL|LC_PAPER|LANG>
//              (or: none, as no LC_ALL, LC_PAPER or LANG is set)
//     rules: <the rules files, or built-in>
//     paper <name>: <deleted|kept, the PPD's default|kept|not offered> (<FILE:LINE>)
//     changed: <statement before> -> <statement after> (<FILE:LINE>)
//     default <option>: <choice> not set, as the PPD does not offer it (<FILE:LINE>)
//     default <option>: not set, as the PPD has no *Default<option> statement (<FILE:LINE>)
//     country: not recorded, as the PPD has no *<keyword> statement (<FILE:LINE>)
//
// each naming the rules file and line of the row that made the edit; or,
// for a file that libcups cannot read as a PPD, a printer line saying so and
// that nothing was edited (and, with --output, that the file was left as it
// was).
#ifndef PPDLOCALIZE_SETUP_RUN_REPORT_H_
#define PPDLOCALIZE_SETUP_RUN_REPORT_H_

#include <cups/ppd.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "ppdio/ppd_load.h"
#include "setup/locale_country.h"
#include "setup/rule_set.h"
#include "setup/rule_stage.h"

class RunReport {
 public:
  explicit RunReport(std::string input) : input_(std::move(input)) {}

  // Takes note of the printer (from gModelInfo), the country, the rules and
  // what they did, before the edits are carried out, on a PPD libcups read.
  void Before(ppd_file_t* ppd, const UString& text, CountryChoice country, const RuleSet& rules,
              const RuleTrace& trace);

  // Writes the report on the edited text to `err`.
  void Print(const PPDText& edited, FILE* err) const;

  // Writes the report on a file that libcups cannot read, after which
  // `left_file` was left as it was.
  void PrintUnread(const std::string& left_file, FILE* err) const;

 private:
  struct Paper {
    UString name;
    std::string where;
    bool offered;
  };
  struct Rewrite {
    UString head;  // a prefix such as "*DefaultDuplex:"
    std::string where;
    std::optional<UString> before;
  };
  struct Noted {
    int32_t kind;
    int32_t modelNumber;
    CountryChoice country;
    std::string rules;
    std::vector<Paper> papers;
    std::vector<Rewrite> rewrites;
    std::vector<std::string> notes;  // the actions that changed nothing, said in full
  };
  std::string input_;
  std::optional<Noted> noted_;
};

#endif  // PPDLOCALIZE_SETUP_RUN_REPORT_H_
