#include "setup/paper_rule.h"

#include <string>
#include <vector>

#include "ppdtext/option_deletion.h"

void deleteRulePapers(TextEdits& edits, std::span<const UStringView> papers) {
  std::string format;
  std::vector<FormatArg> args;
  for (const UStringView paper : papers) {
    format += format.empty() ? "%@" : " %@";
    args.emplace_back(paper);
  }
  const std::optional<UString> list = StringCreateWithFormat(format, args);
  if (!list) return;
  const std::vector<UString> names = StringCreateArrayBySeparatingStrings(*list, u" ");
  DeletePaperSizes(edits, std::vector<UStringView>(names.begin(), names.end()));
}
