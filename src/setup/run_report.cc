#include "setup/run_report.h"

#include <algorithm>

#include "policy/model_info.h"
#include "ppdio/ppd_file.h"
#include "ppdtext/statements.h"

namespace {

std::string Narrow(UStringView text) { return StringCopyUTF8(text).value_or("?"); }

UString Wide(std::string_view ascii) { return UString(ascii.begin(), ascii.end()); }

std::optional<UString> HeadStartingWith(UStringView text, UStringView prefix) {
  const std::optional<Statement> s = FindStatementStartingWith(text, prefix);
  return s ? std::optional<UString>(text.substr(s->begin, s->headEnd - s->begin)) : std::nullopt;
}

// Whether `ppd` offers `paper` as a page size, and whether as the default.
// Names compare exactly, as the edits match them (libcups's ppdFindChoice
// would take "PostCard" for "Postcard").
std::pair<bool, bool> Offers(ppd_file_t* ppd, const std::string& paper) {
  std::pair<bool, bool> offers;
  for (const char* keyword : {"PageSize", "PageRegion"}) {
    ppd_option_t* option = ppd != nullptr ? ppdFindOption(ppd, keyword) : nullptr;
    if (option == nullptr) continue;
    offers.first = offers.first || std::any_of(option->choices, option->choices + option->num_choices,
                                               [&](const ppd_choice_t& c) { return paper == c.choice; });
    offers.second = offers.second || paper == option->defchoice;
  }
  return offers;
}

const char* Printer(int32_t kind) {
  switch (kind) {
    case MonoLaser: return "monochrome laser";
    case ColorLaser: return "colour laser";
    case Ink: case SInk: return "ink";
    default: return "unknown kind";
  }
}

// The keywords whose default SetDefault on `keyword` sets.
std::vector<std::string_view> DefaultKeywords(std::string_view keyword) {
  if (keyword == "PageSize" || keyword == "PageRegion") return {"PageSize", "PageRegion", "PaperDimension", "ImageableArea"};
  return {keyword};
}

}  // namespace

void RunReport::Before(ppd_file_t* ppd, const UString& text, CountryChoice country, const RuleSet& rules,
                       const RuleTrace& trace) {
  Noted noted{gModelInfo.kind, gModelInfo.modelNumber, std::move(country), {}, {}, {}, {}};
  for (const std::string& file : rules.files()) noted.rules += (noted.rules.empty() ? "" : ", ") + file;
  if (noted.rules.empty()) noted.rules = "none";
  for (const RuleEffect& effect : trace) {
    const RuleAction& action = *effect.action;
    const RuleNames& args = rules.Args(action);
    const std::string where = rules.Where(*effect.row);
    const auto rewrite = [&](UString head) {
      std::optional<UString> before = HeadStartingWith(text, head);
      noted.rewrites.push_back({std::move(head), where, std::move(before)});
    };
    switch (action.kind) {
      case RuleAction::kRemovePaper:
      case RuleAction::kRemoveLinesNaming:
        for (const std::string_view name : args) {
          const UString paper = Wide(name);
          if (std::none_of(noted.papers.begin(), noted.papers.end(), [&](const Paper& p) { return p.name == paper; })) {
            noted.papers.push_back({paper, where, Offers(ppd, std::string(name)).first});
          }
        }
        break;
      case RuleAction::kSetDefault:
        if (effect.outcome == RuleEffect::kNotOffered) {
          noted.notes.push_back("default " + std::string(args[0]) + ": " + std::string(args[1]) +
                                " not set, as the PPD does not offer it (" + where + ")");
        } else if (effect.outcome == RuleEffect::kNoStatement) {
          noted.notes.push_back("default " + std::string(args[0]) + ": not set, as the PPD has no *Default" +
                                std::string(args[0]) + " statement (" + where + ")");
        }
        for (const std::string_view keyword : DefaultKeywords(args[0])) {
          rewrite(StringConcat({u"*Default", Wide(keyword), u":"}));
          rewrite(StringConcat({u"*DefaultQZ", Wide(keyword), u":"}));
        }
        break;
      case RuleAction::kRecordCountry:
        if (effect.outcome == RuleEffect::kNoStatement) {
          noted.notes.push_back("country: not recorded, as the PPD has no *" + std::string(args[0]) +
                                " statement (" + where + ")");
        }
        rewrite(StringConcat({u"*", Wide(args[0]), u":"}));
        rewrite(StringConcat({u"*DefaultQZ", Wide(args[0]), u":"}));
        break;
      case RuleAction::kKeepAsIs:
        break;
    }
  }
  noted_ = std::move(noted);
}

void RunReport::PrintUnread(const std::string& left_file, FILE* err) const {
  std::fprintf(err, "ppd-localize: report for %s\n", input_.c_str());
  std::fputs("  printer: libcups cannot read it as a PPD; nothing was edited", err);
  if (!left_file.empty()) std::fprintf(err, ", and %s was left as it was", left_file.c_str());
  std::fputc('\n', err);
}

void RunReport::Print(const PPDText& edited, FILE* err) const {
  if (!noted_) return PrintUnread("", err);
  std::fprintf(err, "ppd-localize: report for %s\n", input_.c_str());
  std::fprintf(err, "  printer: %s (%s), model %d\n", Printer(noted_->kind), ModelKindName(noted_->kind),
               noted_->modelNumber);
  const std::string code = Narrow(noted_->country.code);
  if (std::string_view(noted_->country.source) == "none") {
    std::fputs("  country: none, as no LC_ALL, LC_PAPER or LANG is set\n", err);
  } else {
    std::fprintf(err, "  country: %s, from %s\n", code.empty() ? "none" : code.c_str(), noted_->country.source);
  }
  std::fprintf(err, "  rules: %s\n", noted_->rules.c_str());

  // What libcups offers now, read from the result's own bytes.
  std::string bytes(StringGetMaximumUTF8Size(edited.text.size()), '\0');
  const std::optional<size_t> size = StringEncode(edited.text, edited.encoding, bytes.data());
  std::string ignored;
  const PPDFile after = PPDOpenBytes(std::string_view(bytes).substr(0, size.value_or(0)), &ignored);
  for (const Paper& paper : noted_->papers) {
    const std::string name = Narrow(paper.name);
    const auto [offered, is_default] = Offers(after.get(), name);
    const char* fate = !paper.offered ? "not offered" : !offered ? "deleted" : is_default ? "kept, the PPD's default" : "kept";
    std::fprintf(err, "  paper %s: %s (%s)\n", name.c_str(), fate, paper.where.c_str());
  }
  std::vector<UString> shown;
  for (const Rewrite& rewrite : noted_->rewrites) {
    const std::optional<UString> now = HeadStartingWith(edited.text, rewrite.head);
    if (!now || !rewrite.before || *now == *rewrite.before) continue;
    if (std::find(shown.begin(), shown.end(), rewrite.head) != shown.end()) continue;
    shown.push_back(rewrite.head);
    std::fprintf(err, "  changed: %s -> %s (%s)\n", Narrow(*rewrite.before).c_str(), Narrow(*now).c_str(),
                 rewrite.where.c_str());
  }
  for (const std::string& note : noted_->notes) std::fprintf(err, "  %s\n", note.c_str());
}
