#include "setup/rule_set.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "ppdio/text_file.h"

namespace {

bool SameAs(UStringView country, std::string_view code) {
  return country.size() == code.size() && std::equal(code.begin(), code.end(), country.begin());
}

bool Fnmatch(const char* pattern, const std::string& value) { return fnmatch(pattern, value.c_str(), 0) == 0; }

bool MatchesPattern(const PrinterRecord& printer, RuleField field, const char* pattern) {
  switch (field) {
    case RuleField::kManufacturer: return Fnmatch(pattern, printer.manufacturer);
    case RuleField::kModelName: return Fnmatch(pattern, printer.modelName);
    case RuleField::kNickName: return Fnmatch(pattern, printer.nickName);
    case RuleField::kProduct:
      return std::any_of(printer.products.begin(), printer.products.end(),
                         [&](const std::string& product) { return Fnmatch(pattern, product); });
    case RuleField::kMFG: return Fnmatch(pattern, printer.mfg);
    case RuleField::kMDL: return Fnmatch(pattern, printer.mdl);
  }
  return false;
}

// The files ending in ".rules" in the directory `path`, in name order; not
// hidden ones (an editor's) nor directories.
std::optional<std::vector<std::string>> RulesFilesIn(const std::string& path) {
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return std::nullopt;
  std::vector<std::string> files;
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    struct stat info;
    if (name.size() > 6 && name.ends_with(".rules") && name.front() != '.') {
      std::string file = (path.ends_with('/') ? path : path + "/") + entry->d_name;
      if (stat(file.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) files.push_back(std::move(file));
    }
  }
  closedir(dir);
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

RuleNames::Iterator& RuleNames::Iterator::operator++() {
  size_t at = 0;
  while (at < rest_.size() && (rest_[at] == ' ' || rest_[at] == '\t')) ++at;
  size_t end = at;
  while (end < rest_.size() && rest_[end] != ' ' && rest_[end] != '\t') ++end;
  word_ = end > at ? rest_.substr(at, end - at) : std::string_view();
  rest_.remove_prefix(end);
  return *this;
}

std::string_view RuleNames::operator[](uint32_t i) const { return *std::next(begin(), i); }

bool RuleSet::MatchesCountry(const RuleRow& row, UStringView country) const {
  if (row.countries.empty()) return true;
  const bool listed = std::any_of(row.countries.begin(), row.countries.end(), [&](std::string_view code) {
    if (code.starts_with('!')) code.remove_prefix(1);
    return code == "none" ? country.empty() : SameAs(country, code);
  });
  return listed != row.countries_excluded;
}

bool RuleSet::Matches(const RuleRow& row, const PrinterRecord& printer, UStringView country) const {
  const int32_t kind = printer.model.kind;
  if (row.kinds != 0 && (kind < 0 || kind > 3 || ((row.kinds >> kind) & 1) == 0)) return false;
  const int32_t model = printer.model.modelNumber;
  const std::span<const std::pair<int32_t, int32_t>> ranges = Of(models_, row.models);
  if (!ranges.empty() &&
      std::none_of(ranges.begin(), ranges.end(), [&](const auto& r) { return model >= r.first && model <= r.second; })) {
    return false;
  }
  const std::span<const RulePattern> patterns = Of(patterns_, row.patterns);
  return MatchesCountry(row, country) && std::all_of(patterns.begin(), patterns.end(), [&](const RulePattern& p) {
           return MatchesPattern(printer, p.field, pattern_text_.c_str() + p.at);
         });
}

bool SameForRules(const RuleSet& rules, const PrinterRecord& a, const PrinterRecord& b) {
  const auto same = [&](RuleField field, const auto& x, const auto& y) { return !rules.Uses(field) || x == y; };
  return a.model == b.model && same(RuleField::kManufacturer, a.manufacturer, b.manufacturer) &&
         same(RuleField::kModelName, a.modelName, b.modelName) && same(RuleField::kNickName, a.nickName, b.nickName) &&
         same(RuleField::kProduct, a.products, b.products) && same(RuleField::kMFG, a.mfg, b.mfg) &&
         same(RuleField::kMDL, a.mdl, b.mdl);
}

std::optional<RuleSet> LoadRules(const std::vector<std::string>& paths, std::string* error) {
  RuleSet rules;
  for (const std::string& path : paths) {
    struct stat info;
    std::vector<std::string> files = {path};
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      std::optional<std::vector<std::string>> in = RulesFilesIn(path);
      if (!in) {
        *error = path + ": " + std::strerror(errno);
        return std::nullopt;
      }
      files = std::move(*in);
    }
    for (const std::string& file : files) {
      std::optional<TextFile> text = TextFile::Read(file);
      if (!text) {
        *error = file + ": " + std::strerror(errno);
        return std::nullopt;
      }
      const std::string_view view = text->text();
      if (!rules.Add(view, std::make_shared<const TextFile>(std::move(*text)), file, error)) return std::nullopt;
    }
  }
  return rules;
}

const RuleSet& BuiltinRules() {
  static const RuleSet rules = [] {
    RuleSet read;
    std::string error;
    if (!read.Add(kBuiltinRulesText, "built-in", &error)) std::abort();  // the build checks the file (CMakeLists.txt)
    return read;
  }();
  return rules;
}
