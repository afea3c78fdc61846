#include "setup/rule_stage.h"

#include <algorithm>

#include "policy/model_info.h"
#include "ppdtext/default_rewrite.h"
#include "ppdtext/line_deletion.h"
#include "ppdtext/option_deletion.h"
#include "setup/paper_rule.h"

namespace {

UString Wide(std::string_view ascii) { return UString(ascii.begin(), ascii.end()); }

std::vector<UString> WideArgs(const RuleAction& action) {
  std::vector<UString> args;
  for (const std::string_view arg : action.args) args.push_back(Wide(arg));
  return args;
}

RuleEffect::Outcome Apply(const RuleAction& action, TextEdits& edits, UStringView country) {
  const std::vector<UString> args = WideArgs(action);
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
    const auto row = std::find_if(table.rows.begin(), table.rows.end(),
                                  [&](const RuleRow& r) { return r.Matches(printer, country); });
    if (row == table.rows.end()) continue;
    for (const RuleAction& action : row->actions) trace.push_back({&*row, &action, Apply(action, edits, country)});
  }
  return trace;
}

void applyRuleStage(TextEdits& edits, ppd_file_t* ppd, UStringView country) {
  ApplyRules(BuiltinRules(), edits, PrinterRecordOf(ppd, gModelInfo), country);
}

void ScanAheadForRules(const RuleSet& rules, TextEdits& edits, UStringView country) {
  std::vector<UString> papers, heads;
  const auto add = [](std::vector<UString>& to, UString name) {
    if (std::find(to.begin(), to.end(), name) == to.end()) to.push_back(std::move(name));
  };
  for (const RuleTable& table : rules.tables()) {
    for (const RuleRow& row : table.rows) {
      if (!row.MatchesCountry(country)) continue;
      for (const RuleAction& action : row.actions) {
        const std::vector<UString> args = WideArgs(action);
        if (action.kind == RuleAction::kRemovePaper) {
          for (const UString& paper : args) add(papers, paper);
        } else if (action.kind == RuleAction::kSetDefault) {
          for (UString& head : SetDefaultHeads(args[0], args[1])) add(heads, std::move(head));
        } else if (action.kind == RuleAction::kRecordCountry) {
          add(heads, StringConcat({u"*", args[0], u":"}));
          add(heads, StringConcat({u"*DefaultQZ", args[0], u":"}));
        }
      }
    }
  }
  ScanAheadForPaperSizes(edits, std::vector<UStringView>(papers.begin(), papers.end()),
                         std::vector<UStringView>(heads.begin(), heads.end()));
}

std::vector<UString> TracedPapers(const RuleTrace& trace) {
  std::vector<UString> papers;
  for (const RuleEffect& effect : trace) {
    if (effect.action->kind != RuleAction::kRemovePaper && effect.action->kind != RuleAction::kRemoveLinesNaming) continue;
    for (UString& paper : WideArgs(*effect.action)) {
      if (std::find(papers.begin(), papers.end(), paper) == papers.end()) papers.push_back(std::move(paper));
    }
  }
  return papers;
}
