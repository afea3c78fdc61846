#include "alter.h"

#include <zlib.h>

#include <map>
#include <vector>

#include "edit_check.h"
#include "paper_rules.h"

namespace corpus {

namespace {

struct Size {
  std::string_view name;
  int width;   // points
  int height;  // points
};

// Every size a rule row names, and look-alikes that share a prefix with one.
constexpr Size kSizes[] = {
    {"Executive", 522, 756},  {"210x270mm", 595, 765},     {"195x270mm", 553, 765},
    {"184x260mm", 522, 737},  {"197x273mm", 558, 774},     {"ISOB5", 499, 709},
    {"3x5", 216, 360},        {"FanFoldGermanLegal", 612, 936}, {"Env10", 297, 684},
    {"EnvDL", 312, 624},      {"EnvC5", 459, 649},         {"EnvMonarch", 279, 540},
    {"EnvPRC5Rotated", 624, 312}, {"Postcard", 283, 420},  {"EnvYou4", 298, 666},
    {"EnvChou3", 340, 666},   {"EnvChou4", 255, 581},      {"B5", 516, 729},
    {"B6", 363, 516},
    // Look-alikes.
    {"Postcard.Fullbleed", 283, 420}, {"EnvChou3Rotated", 666, 340},
    {"B6.Fullbleed", 363, 516},       {"Env10Rotated", 684, 297},
};

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

class Editor {
 public:
  explicit Editor(std::string_view text) {
    for (const Line& line : SplitLines(text)) lines_.emplace_back(line.text);
    // Which lines start outside a quoted value: only those can begin a
    // statement. Comments do not open values.
    bool in_value = false;
    for (const std::string& line : lines_) {
      top_.push_back(!in_value);
      if (!in_value && line.starts_with("*%")) continue;
      size_t quotes = 0;
      for (char c : line) quotes += c == '"';
      if (quotes % 2 == 1) in_value = !in_value;
    }
  }

  size_t size() const { return lines_.size(); }

  // The first statement line at or after `from` that starts with `prefix`;
  // size() when there is none.
  size_t Find(std::string_view prefix, size_t from = 0) const {
    for (size_t i = from; i < lines_.size(); ++i) {
      if (top_[i] && lines_[i].starts_with(prefix)) return i;
    }
    return lines_.size();
  }

  // The statement line that is exactly `line` (trailing blanks aside).
  size_t FindExact(std::string_view line) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (top_[i] && TrimRight(lines_[i]) == line) return i;
    }
    return lines_.size();
  }

  bool Offers(std::string_view keyword, std::string_view name) const {
    const std::string head = "*" + std::string(keyword) + " " + std::string(name);
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (top_[i] && lines_[i].starts_with(head) && lines_[i].size() > head.size() &&
          (lines_[i][head.size()] == '/' || lines_[i][head.size()] == ':')) {
        return true;
      }
    }
    return false;
  }

  // Replaces every statement line starting with `prefix` by `line`, or adds
  // `line` after the first line when there is none.
  void Set(std::string_view prefix, const std::string& line) {
    bool found = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (top_[i] && lines_[i].starts_with(prefix)) {
        lines_[i] = line;
        found = true;
      }
    }
    if (!found) InsertBefore(std::min<size_t>(1, lines_.size()), {line});
  }

  void InsertBefore(size_t index, const std::vector<std::string>& lines) {
    auto& into = before_[index];
    into.insert(into.end(), lines.begin(), lines.end());
  }

  std::string Join(std::string_view end) const {
    std::string text;
    for (size_t i = 0; i <= lines_.size(); ++i) {
      if (auto inserted = before_.find(i); inserted != before_.end()) {
        for (const std::string& line : inserted->second) text.append(line).append(end);
      }
      if (i < lines_.size()) text.append(lines_[i]).append(end);
    }
    return text;
  }

 private:
  std::vector<std::string> lines_;
  std::vector<bool> top_;
  std::map<size_t, std::vector<std::string>> before_;
};

std::string Label(const Size& size) { return std::string(size.name) + " (test)"; }

std::string PageSetup(const Size& size) {
  return "<</PageSize[" + std::to_string(size.width) + " " + std::to_string(size.height) +
         "]/ImagingBBox null>>setpagedevice";
}

std::vector<std::string> OptionLines(std::string_view keyword, const Size& size, bool multiline) {
  const std::string head = "*" + std::string(keyword) + " " + std::string(size.name) + "/" + Label(size) + ": \"";
  if (!multiline) return {head + PageSetup(size) + "\""};
  return {head, "  <</PageSize[" + std::to_string(size.width) + " " + std::to_string(size.height) + "]",
          "    /ImagingBBox null>>setpagedevice\"", "*End"};
}

std::string TranslatedLabel(std::string_view language, const Size& size) {
  if (language == "ja") return "テスト用紙 " + std::string(size.name);
  if (language.starts_with("zh")) return "测试纸 " + std::string(size.name);
  if (language == "ko") return "테스트 용지 " + std::string(size.name);
  if (language == "de") return "Testpapier " + std::string(size.name);
  return "Test " + std::string(size.name);
}

}  // namespace

std::string AlterPPD(std::string_view text, const PPDFacts& facts, const Alteration& how) {
  Editor ppd(text);
  ppd.Set("*cupsModelNumber:", "*cupsModelNumber: " + std::to_string(how.model));
  ppd.Set("*ColorDevice:", std::string("*ColorDevice: ") + (how.color ? "True" : "False"));
  // The country-code step needs a line to rewrite. A vendor keyword that holds
  // the name comes first in one of the copies, and a comment that holds
  // "DefaultDuplex" stands above the duplex default in both: neither may be
  // taken for the statement itself.
  if (!how.extras_first) ppd.InsertBefore(std::min<size_t>(1, ppd.size()), {"*QZISOCountryCode: \"JP\""});
  ppd.Set("*ISOCountryCode:", "*ISOCountryCode: \"JP\"");
  if (const size_t duplex = ppd.Find("*DefaultDuplex:"); duplex < ppd.size()) {
    ppd.InsertBefore(duplex, {"*% DefaultDuplex: the factory setting follows"});
  }

  const size_t page_size_open = ppd.Find("*OpenUI *PageSize");
  const size_t page_size_close = ppd.FindExact("*CloseUI: *PageSize");
  const size_t page_region_close = ppd.FindExact("*CloseUI: *PageRegion");
  const size_t dimensions = ppd.Find("*PaperDimension ");
  const size_t areas = ppd.Find("*ImageableArea ");
  const size_t front = page_size_open < ppd.size() ? page_size_open : std::min<size_t>(1, ppd.size());

  // A vendor duplex option for PPDs without Duplex, so that the *DefaultQZDuplex
  // rewrite is reached too.
  if (!facts.has_duplex_option) {
    ppd.InsertBefore(front, {"*OpenUI *QZDuplex/Two-Sided Printing: PickOne",
                             "*OrderDependency: 20 AnySetup *QZDuplex", "*DefaultQZDuplex: None",
                             "*QZDuplex None/Off: \"\"", "*QZDuplex DuplexNoTumble/Long Edge: \"\"",
                             "*QZDuplex DuplexTumble/Short Edge: \"\"", "*CloseUI: *QZDuplex"});
  }

  std::vector<std::string> languages = facts.languages;
  bool has_ja = false;
  for (const std::string& language : languages) has_ja = has_ja || language == "ja";
  if (!has_ja) languages.push_back("ja");

  std::vector<std::string> extras;
  const bool can_add = page_size_open < ppd.size() && page_size_close < ppd.size();
  size_t place = 0;
  bool multiline_translation_done = false;
  for (const Size& size : kSizes) {
    const bool in_page_size = ppd.Offers("PageSize", size.name);
    bool in_page_region = ppd.Offers("PageRegion", size.name);
    if (can_add && !in_page_size) {
      const bool multiline = (place++ % 2 == 1) == how.odd_multiline;
      ppd.InsertBefore(page_size_close, OptionLines("PageSize", size, multiline));
      if (page_region_close < ppd.size() && !in_page_region) {
        ppd.InsertBefore(page_region_close, OptionLines("PageRegion", size, multiline));
        in_page_region = true;
      }
      const bool fullbleed = size.name.ends_with(".Fullbleed");
      const int margin = fullbleed ? 0 : 12;
      if (dimensions < ppd.size() && !ppd.Offers("PaperDimension", size.name)) {
        ppd.InsertBefore(dimensions, {"*PaperDimension " + std::string(size.name) + "/" + Label(size) + ": \"" +
                                      std::to_string(size.width) + " " + std::to_string(size.height) + "\""});
      }
      if (areas < ppd.size() && !ppd.Offers("ImageableArea", size.name)) {
        ppd.InsertBefore(areas, {"*ImageableArea " + std::string(size.name) + "/" + Label(size) + ": \"" +
                                 std::to_string(margin) + " " + std::to_string(margin) + " " +
                                 std::to_string(size.width - margin) + " " +
                                 std::to_string(size.height - margin) + "\""});
      }
      for (const std::string& language : languages) {
        const std::string name = std::string(size.name) + "/" + TranslatedLabel(language, size);
        if (!multiline_translation_done && language == "ja") {
          extras.push_back("*ja.PageSize " + name + ": \"");
          extras.push_back("  " + PageSetup(size) + "\"");
          multiline_translation_done = true;
        } else {
          extras.push_back("*" + language + ".PageSize " + name + ": \"\"");
        }
        if (in_page_region) extras.push_back("*" + language + ".PageRegion " + name + ": \"\"");
      }
    }
    if (!facts.constraint_option.empty() && (in_page_size || can_add)) {
      const std::string other = "*" + facts.constraint_option + " " + facts.constraint_choice;
      for (std::string_view keyword : {"PageSize", "PageRegion"}) {
        if (keyword == "PageRegion" && !in_page_region) continue;
        const std::string paper = "*" + std::string(keyword) + " " + std::string(size.name);
        extras.push_back("*UIConstraints: " + paper + " " + other);
        extras.push_back("*UIConstraints: " + other + " " + paper);
      }
    }
  }
  if (how.extras_first) {
    ppd.InsertBefore(front, extras);
  } else {
    ppd.InsertBefore(ppd.size(), extras);
  }
  return ppd.Join(how.crlf ? "\r\n" : "\n");
}

std::string GzipBytes(std::string_view bytes) {
  z_stream stream{};
  if (deflateInit2(&stream, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::string out(deflateBound(&stream, bytes.size()) + 64, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return status == Z_STREAM_END ? out : std::string();
}

}  // namespace corpus
