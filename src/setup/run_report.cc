#include "setup/run_report.h"

#include "policy/model_info.h"
#include "ppdio/ppd_file.h"
#include "policy/region_predicates.h"
#include "ppdtext/statements.h"
#include "setup/rule_stage.h"

namespace {

std::string Narrow(UStringView text) { return StringCopyUTF8(text).value_or("?"); }

std::vector<std::optional<UString>> Heads(UStringView text) {
  std::vector<std::optional<UString>> heads;
  for (const UStringView prefix : kRewrittenHeads) {
    const std::optional<Statement> s = FindStatementStartingWith(text, prefix);
    heads.push_back(s ? std::optional<UString>(text.substr(s->begin, s->headEnd - s->begin)) : std::nullopt);
  }
  return heads;
}

// Whether `ppd` offers `paper` as a page size, and whether as the default.
std::pair<bool, bool> Offers(ppd_file_t* ppd, const std::string& paper) {
  std::pair<bool, bool> offers;
  for (const char* keyword : {"PageSize", "PageRegion"}) {
    ppd_option_t* option = ppd != nullptr ? ppdFindOption(ppd, keyword) : nullptr;
    offers.first = offers.first || (option != nullptr && ppdFindChoice(option, paper.c_str()) != nullptr);
    offers.second = offers.second || (option != nullptr && paper == option->defchoice);
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

}  // namespace

void RunReport::Before(ppd_file_t* ppd, const UString& text, CountryChoice country, std::vector<UString> papers) {
  std::vector<bool> offered;
  for (const UString& paper : papers) offered.push_back(Offers(ppd, Narrow(paper)).first);
  noted_ = Noted{gModelInfo.kind, gModelInfo.modelNumber, std::move(country), std::move(papers), offered, Heads(text)};
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

  // What libcups offers now, read from the result's own bytes.
  std::string bytes(StringGetMaximumUTF8Size(edited.text.size()), '\0');
  const std::optional<size_t> size = StringEncode(edited.text, edited.encoding, bytes.data());
  std::string ignored;
  const PPDFile after = PPDOpenBytes(std::string_view(bytes).substr(0, size.value_or(0)), &ignored);
  for (size_t i = 0; i < noted_->papers.size(); ++i) {
    const std::string paper = Narrow(noted_->papers[i]);
    const auto [offered, is_default] = Offers(after.get(), paper);
    const char* fate = !noted_->offered[i] ? "not offered" : !offered ? "deleted"
                       : is_default        ? "kept, the PPD's default"
                                           : "kept";
    std::fprintf(err, "  paper %s: %s\n", paper.c_str(), fate);
  }
  const std::vector<std::optional<UString>> heads = Heads(edited.text);
  for (size_t i = 0; i < heads.size(); ++i) {
    if (heads[i] == noted_->heads[i] || !heads[i] || !noted_->heads[i]) continue;
    std::fprintf(err, "  changed: %s -> %s\n", Narrow(*noted_->heads[i]).c_str(), Narrow(*heads[i]).c_str());
  }
  std::optional<UStringView> recorded;
  if (shouldChangeDefaultCountryCode(nullptr, noted_->country.code, &recorded) && !noted_->heads[2] && !noted_->heads[3]) {
    std::fputs("  country: not recorded, as the PPD has no *ISOCountryCode statement\n", err);
  }
}
