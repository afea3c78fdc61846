#include "ppd_facts.h"

#include <cups/ppd.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <sstream>

namespace corpus {

namespace {

ppd_option_t* OptionWithChoices(ppd_file_t* ppd, const char* keyword) {
  ppd_option_t* option = ppdFindOption(ppd, keyword);
  return option != nullptr && option->num_choices > 0 ? option : nullptr;
}

}  // namespace

PPDFacts ReadFacts(const std::string& path) {
  PPDFacts facts;
  ppd_file_t* ppd = ppdOpenFile(path.c_str());
  if (ppd == nullptr) {
    int line = 0;
    const ppd_status_t status = ppdLastError(&line);
    facts.open_error = std::string(ppdErrorString(status)) + " on line " + std::to_string(line);
    return facts;
  }
  facts.opens = true;
  facts.printer.color = ppd->color_device != 0;
  facts.printer.model = ppd->model_number;

  ppd_option_t* constrained = OptionWithChoices(ppd, "Duplex");
  if (constrained == nullptr) constrained = OptionWithChoices(ppd, "InputSlot");
  for (ppd_option_t* option = ppdFirstOption(ppd); constrained == nullptr && option != nullptr;
       option = ppdNextOption(ppd)) {
    if (option->num_choices > 0 && std::strcmp(option->keyword, "PageSize") != 0 &&
        std::strcmp(option->keyword, "PageRegion") != 0) {
      constrained = option;
    }
  }
  if (constrained != nullptr) {
    facts.constraint_option = constrained->keyword;
    facts.constraint_choice = constrained->choices[constrained->num_choices - 1].choice;
  }

  if (ppd_attr_t* languages = ppdFindAttr(ppd, "cupsLanguages", nullptr);
      languages != nullptr && languages->value != nullptr) {
    std::istringstream words(languages->value);
    for (std::string word; words >> word;) facts.languages.push_back(word);
  }

  facts.has_duplex_option = ppdFindOption(ppd, "Duplex") != nullptr;
  for (const char* keyword : {"Duplex", "QZDuplex"}) {
    ppd_option_t* option = ppdFindOption(ppd, keyword);
    if (option == nullptr || ppdFindChoice(option, "DuplexNoTumble") == nullptr) {
      facts.duplex_keywords_without_no_tumble.push_back(keyword);
    }
  }
  ppdClose(ppd);
  return facts;
}

std::optional<std::string> ReadPPDBytes(const std::string& path) {
  gzFile file = gzopen(path.c_str(), "rb");  // reads plain files as they are
  if (file == nullptr) return std::nullopt;
  std::string bytes;
  char chunk[1 << 16];
  int got;
  while ((got = gzread(file, chunk, sizeof chunk)) > 0) bytes.append(chunk, static_cast<size_t>(got));
  const bool failed = got < 0;
  gzclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

std::string TextProblem(std::string_view bytes) {
  if (bytes.empty()) return "empty file";
  if (bytes.find('\0') != std::string_view::npos) return "not a text file (it holds a zero byte)";
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    size_t length;
    uint32_t code;
    uint32_t least;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, code = lead & 0x1Fu, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code = lead & 0x0Fu, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code = lead & 0x07u, least = 0x10000;
    } else {
      return "not valid UTF-8";
    }
    if (i + length > bytes.size()) return "not valid UTF-8";
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return "not valid UTF-8";
      code = code << 6 | (next & 0x3Fu);
    }
    // Overlong forms, encoded surrogates and code points past U+10FFFF.
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return "not valid UTF-8";
    i += length;
  }
  return {};
}

}  // namespace corpus
