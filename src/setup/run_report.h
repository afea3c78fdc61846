// The summary of a run that --report writes on standard error, for people:
//
//   ppd-localize: report for <file>
//     printer: <monochrome laser (MonoLaser)|colour laser (ColorLaser)|...>, model <n>
//     country: <code or none>, from <--country|LC_ALL|LC_PAPER|LANG>
//              (or: none, as no LC_ALL, LC_PAPER or LANG is set)
//     paper <name>: <deleted|kept, the PPD's default|kept|not offered>   one per paper of the rule
//     changed: <statement before> -> <statement after>                    *DefaultDuplex, *ISOCountryCode
//     country: not recorded, as the PPD has no *ISOCountryCode statement  where it would have been
//
// or, for a file that libcups cannot read as a PPD, a printer line saying so
// and that nothing was edited (and, with --output, that the file was left
// as it was).
#ifndef PPDLOCALIZE_SETUP_RUN_REPORT_H_
#define PPDLOCALIZE_SETUP_RUN_REPORT_H_

#include <cups/ppd.h>

#include <cstdio>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

#include "setup/locale_country.h"
#include "ppdio/ppd_load.h"

class RunReport {
 public:
  explicit RunReport(std::string input) : input_(std::move(input)) {}

  // Takes note of the printer (from gModelInfo), the country and the papers
  // of the rule before the edits of a run on a PPD that libcups read.
  void Before(ppd_file_t* ppd, const UString& text, CountryChoice country, std::vector<UString> papers);

  // Writes the report on the edited text to `err`.
  void Print(const PPDText& edited, FILE* err) const;

  // Writes the report on a file that libcups cannot read, after which
  // `left_file` was left as it was.
  void PrintUnread(const std::string& left_file, FILE* err) const;

 private:
  struct Noted {
    int32_t kind;
    int32_t modelNumber;
    CountryChoice country;
    std::vector<UString> papers;
    std::vector<bool> offered;
    std::vector<std::optional<UString>> heads;  // of the statements a run may rewrite
  };
  std::string input_;
  std::optional<Noted> noted_;
};

#endif  // PPDLOCALIZE_SETUP_RUN_REPORT_H_
