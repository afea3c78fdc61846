#include "setup/rule_stage.h"

#include <algorithm>

#include "policy/model_info.h"
#include "ppdtext/default_rewrite.h"
#include "ppdtext/line_deletion.h"
#include "ppdtext/option_deletion.h"
#include "setup/paper_rule.h"

namespace {

UString Wide(std::string_view ascii) { return UString(ascii.begin(), ascii.end()); }

std::vector<UString> WideArgs(const RuleSet& rules, const RuleAction& action) {
  std::vector<UString> args;
  for (const std::string_view arg : rules.Args(action)) args.push_back(Wide(arg));
  return args;
}

RuleEffect::Outcome Apply(const RuleSet& rules, const RuleAction& action, TextEdits& edits, UStringView country) {
  const std::vector<UString> args = WideArgs(rules, action);
  switch (action.kind) {
    case RuleAction::kRemovePaper:
      deleteRulePapers(edits, std::vector<UStringView>(args.begin(), args.end()));
      return RuleEffect::kDone;
    case RuleAction::kRemoveLinesNaming:
      DeleteEnvelopes(edits, args);
      return RuleEffect::kDone;
    case RuleAction::kSetDefault:
      switch (SetDefaultWhereOffered(edits, args[0], args[1])) {
        case DefaultSetting::kSet: return RuleEffect::kDone;
        case DefaultSetting::kNotOffered: return RuleEffect::kNotOffered;
        case DefaultSetting::kNoDefault: return RuleEffect::kNoStatement;
      }
      break;
    case RuleAction::kRecordCountry:
      return ChangeGeneralInformation(edits, args[0], country) ? RuleEffect::kDone : RuleEffect::kNoStatement;
    case RuleAction::kKeepAsIs:
      return RuleEffect::kDone;
  }
  return RuleEffect::kDone;
}

}  // namespace

RuleTrace ApplyRules(const RuleSet& rules, TextEdits& edits, const PrinterRecord& printer, UStringView country) {
  RuleTrace trace;
  for (const RuleTable& table : rules.tables()) {
    const std::span<const RuleRow> rows = rules.Rows(table);
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&](const RuleRow& r) { return rules.Matches(r, printer, country); });
    if (row == rows.end()) continue;
    for (const RuleAction& action : rules.Actions(*row)) {
      trace.push_back({&*row, &action, Apply(rules, action, edits, country)});
    }
  }
  return trace;
}

void applyRuleStage(TextEdits& edits, ppd_file_t* ppd, UStringView country) {
  ApplyRules(BuiltinRules(), edits, PrinterRecordOf(ppd, gModelInfo), country);
}

void ScanAheadForRules(const RuleSet& rules, TextEdits& edits, UStringView country) {
  // The names are gathered once each, as the rules spell them, and widened
  // after: a large rules set names the same few papers in many rows.
  std::vector<std::string_view> papers;
  std::vector<std::pair<std::string_view, std::string_view>> defaults;
  std::vector<std::string_view> records;
  const auto add = [](auto& to, auto name) {
    if (std::find(to.begin(), to.end(), name) == to.end()) to.push_back(name);
  };
  for (const RuleTable& table : rules.tables()) {
    for (const RuleRow& row : rules.Rows(table)) {
      if (!rules.MatchesCountry(row, country)) continue;
      for (const RuleAction& action : rules.Actions(row)) {
        const RuleNames& args = rules.Args(action);
        if (action.kind == RuleAction::kRemovePaper) {
          for (const std::string_view paper : args) add(papers, paper);
        } else if (action.kind == RuleAction::kSetDefault) {
          add(defaults, std::pair(args[0], args[1]));
        } else if (action.kind == RuleAction::kRecordCountry) {
          add(records, args[0]);
        }
      }
    }
  }
  std::vector<UString> wide_papers, heads;
  for (const std::string_view paper : papers) wide_papers.push_back(Wide(paper));
  for (const auto& [option, choice] : defaults) {
    for (UString& head : SetDefaultHeads(Wide(option), Wide(choice))) {
      if (std::find(heads.begin(), heads.end(), head) == heads.end()) heads.push_back(std::move(head));
    }
  }
  for (const std::string_view keyword : records) {
    for (UString head : {StringConcat({u"*", Wide(keyword), u":"}), StringConcat({u"*DefaultQZ", Wide(keyword), u":"})}) {
      if (std::find(heads.begin(), heads.end(), head) == heads.end()) heads.push_back(std::move(head));
    }
  }
  ScanAheadForPaperSizes(edits, std::vector<UStringView>(wide_papers.begin(), wide_papers.end()),
                         std::vector<UStringView>(heads.begin(), heads.end()));
}
