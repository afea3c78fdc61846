#include "driver/list_fields.h"

#include <cups/transcode.h>

#include <cstring>
#include <iterator>

// libcups functions that cups-driverd calls to normalise a PPD's encoding and
// make-and-model; exported by libcups for its own programs, declared in its
// private ppd-private.h. Calling them gives the strings cups-driverd makes.
extern "C" cups_encoding_t _ppdGetEncoding(const char* name);
extern "C" char* _ppdNormalizeMakeAndModel(const char* make_and_model, char* buffer, size_t bufsize);

namespace {

// What the C library's isspace() is in the "C" locale cups-driverd runs in.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// _cups_strncasecmp(a, b, n) == 0 over the C strings a and b.
bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(s[i]) != Lower(prefix[i])) return false;
  }
  return true;
}
bool EqualNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && StartsWithNoCase(a, b); }
bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// strlcpy into a `size`-byte buffer.
std::string Cut(std::string_view s, size_t size) { return std::string(s.substr(0, size - 1)); }

// sscanf(line, "%*[^\"]\"" + open + "%<width>[^\"]", value): at least one byte
// before the first quote, the quote, `open`, then 1..width non-quote bytes.
// `value` is left as it was when nothing is assigned, as sscanf leaves it.
bool ScanQuoted(std::string_view line, size_t width, std::string& value, std::string_view open = "") {
  const size_t quote = line.find('"');
  if (quote == 0 || quote == std::string_view::npos) return false;
  std::string_view rest = line.substr(quote + 1);
  if (!StartsWith(rest, open)) return false;
  rest.remove_prefix(open.size());
  const size_t length = std::min({rest.find('"'), rest.size(), width});
  if (length == 0) return false;
  value.assign(rest.substr(0, length));
  return true;
}

// sscanf(line, "%*[^:]:%63s", value).
void ScanWordAfterColon(std::string_view line, std::string& value) {
  const size_t colon = line.find(':');
  if (colon == 0 || colon == std::string_view::npos) return;
  size_t at = colon + 1;
  while (at < line.size() && IsSpace(line[at])) ++at;
  size_t end = at;
  while (end < line.size() && end - at < 63 && !IsSpace(line[end])) ++end;
  if (end > at) value.assign(line.substr(at, end - at));
}

// The words of a *cupsLanguages line, split as cups-driverd splits them.
void ScanLanguages(std::string_view line, std::vector<std::string>& languages) {
  size_t start = 15;
  while (start < line.size() && IsSpace(line[start])) ++start;
  if (start >= line.size() || line[start++] != '"') return;
  while (start < line.size()) {
    size_t ptr = start + 1;
    while (ptr < line.size() && line[ptr] != '"' && !IsSpace(line[ptr])) ++ptr;
    languages.emplace_back(line.substr(start, std::min(ptr, line.size()) - start));
    if (ptr < line.size()) {
      ++ptr;
      while (ptr < line.size() && IsSpace(line[ptr])) ++ptr;
    }
    start = ptr;
  }
}

struct LanguageName {
  const char* version;
  const char* code;
};
constexpr LanguageName kLanguages[] = {
    {"chinese", "zh"},    {"czech", "cs"},     {"danish", "da"},   {"dutch", "nl"},
    {"english", "en"},    {"finnish", "fi"},   {"french", "fr"},   {"german", "de"},
    {"greek", "el"},      {"hungarian", "hu"}, {"italian", "it"},  {"japanese", "ja"},
    {"korean", "ko"},     {"norwegian", "no"}, {"polish", "pl"},   {"portuguese", "pt"},
    {"russian", "ru"},    {"simplified chinese", "zh_CN"},         {"slovak", "sk"},
    {"spanish", "es"},    {"swedish", "sv"},   {"traditional chinese", "zh_TW"},
    {"turkish", "tr"}};

// "English-US" is "en_US", an unknown language "xx".
std::string LanguageCode(std::string version) {
  std::string country;
  size_t split = version.find('-');
  if (split == std::string::npos) split = version.find('_');
  if (split != std::string::npos) {
    country.assign(1, '_').append(version, split + 1);
    version.resize(split);
  }
  for (const LanguageName& language : kLanguages) {
    if (EqualNoCase(language.version, version)) return Cut(language.code + country, 64);
  }
  return "xx";
}

constexpr size_t kPPDMaxLanguages = 32;  // cups-driverd's PPD_MAX_LANG

}  // namespace

std::optional<ListFields> ReadListFields(CupsLines& lines, std::string* reason) {
  std::string line;
  if (!lines.Next(line) || !StartsWith(line, "*PPD-Adobe:")) {
    *reason = lines.failed() ? "cannot read it" : "not a PPD (no *PPD-Adobe: first line)";
    return std::nullopt;
  }
  std::string manufacturer, model_name, nick_name, device_id, lang_encoding, lang_version = "en", product, psversion,
      last_psversion;
  bool have_product = false, have_psversion = false, install_group = false;
  std::vector<std::string> cups_languages;
  enum { kPostScript, kPDF, kRaster, kFax } type = kPostScript;
  bool header_read = false;
  while (!header_read && lines.Next(line)) {
    // cups-driverd tries each keyword in turn; they differ by their second
    // byte already, so only that byte's few are tried here.
    if (line.size() < 7 || line[0] != '*') continue;  // "*OpenUI" is the shortest keyword
    switch (line[1]) {
      case 'M':
        if (StartsWith(line, "*Manufacturer:")) {
          ScanQuoted(line, 255, manufacturer);
        } else if (StartsWith(line, "*ModelName:")) {
          ScanQuoted(line, 127, model_name);
        }
        break;
      case 'L':
        if (StartsWith(line, "*LanguageEncoding:")) {
          ScanWordAfterColon(line, lang_encoding);
        } else if (StartsWith(line, "*LanguageVersion:")) {
          ScanWordAfterColon(line, lang_version);
        }
        break;
      case 'N':
        if (StartsWith(line, "*NickName:")) ScanQuoted(line, 255, nick_name);
        break;
      case '1':
        if (StartsWithNoCase(line, "*1284DeviceID:")) {
          ScanQuoted(line, 255, device_id);
          if (!device_id.empty() && device_id.back() != ';' && device_id.size() < 255) device_id += ';';
        }
        break;
      case 'P':
        if (StartsWith(line, "*Product:")) {
          std::string value;
          if (ScanQuoted(line, 255, value, "(") && value.size() > 1 && value.back() == ')' && !have_product) {
            value.pop_back();
            product = value;
            have_product = true;
          }
        } else if (StartsWith(line, "*PSVersion:")) {
          ScanQuoted(line, 255, last_psversion);  // a line without a value repeats the one before
          if (!have_psversion) psversion = last_psversion;
          have_psversion = true;
        }
        break;
      case 'c':
        if (StartsWith(line, "*cupsLanguages:")) {
          ScanLanguages(line, cups_languages);
        } else if (StartsWith(line, "*cupsFax:")) {
          size_t at = 9;
          while (at < line.size() && IsSpace(line[at])) ++at;
          if (StartsWithNoCase(std::string_view(line).substr(at), "true")) type = kFax;
        } else if ((StartsWith(line, "*cupsFilter:") || StartsWith(line, "*cupsFilter2:")) && type == kPostScript) {
          const std::string_view rest = std::string_view(line).substr(12);
          if (rest.find("application/vnd.cups-raster") != std::string_view::npos) {
            type = kRaster;
          } else if (rest.find("application/vnd.cups-pdf") != std::string_view::npos) {
            type = kPDF;
          }
        }
        break;
      case 'O':
        if (StartsWith(line, "*OpenGroup: Installable")) {
          install_group = true;
        } else if (StartsWith(line, "*OpenUI") && !install_group && (!model_name.empty() || !nick_name.empty()) &&
                   have_product && have_psversion) {
          header_read = true;
        }
        break;
      case 'C':
        if (StartsWith(line, "*CloseGroup:")) install_group = false;
        break;
      default:
        break;
    }
  }
  if (lines.failed()) {
    *reason = "cannot read it";
    return std::nullopt;
  }

  char make_model[256] = "";
  if (!nick_name.empty()) {
    cupsCharsetToUTF8(reinterpret_cast<cups_utf8_t*>(make_model), nick_name.c_str(), sizeof make_model,
                      _ppdGetEncoding(lang_encoding.c_str()));
  } else {
    std::strncat(make_model, model_name.c_str(), sizeof make_model - 1);
  }
  std::string_view model = make_model;
  while (!model.empty() && IsSpace(model.front())) model.remove_prefix(1);
  if (model.empty() || !have_product || !have_psversion) {
    *reason = model.empty() ? "no *NickName or *ModelName" : !have_product ? "no *Product" : "no *PSVersion";
    return std::nullopt;
  }

  std::string_view make = manufacturer;
  while (!make.empty() && IsSpace(make.front())) make.remove_prefix(1);
  const std::string temp = Cut(StartsWithNoCase(model, make) ? std::string(model) : std::string(make) + " " + std::string(model), 512);
  char normalized[256];
  _ppdNormalizeMakeAndModel(temp.c_str(), normalized, sizeof normalized);

  ListFields fields;
  std::string maker(make);
  if (maker.empty() || maker == "ESP") {
    const std::string_view first = normalized;
    const size_t end = first.find_first_of(" -/");
    maker = end != std::string_view::npos && end > 0 ? std::string(first.substr(0, end)) : "Other";
  } else if (StartsWithNoCase(maker, "LHAG") || StartsWithNoCase(maker, "linotype")) {
    maker = "LHAG";
  } else if (StartsWithNoCase(maker, "Hewlett")) {
    maker = "HP";
  }
  fields.make = Cut(maker, 128);
  // Upstream's add_ppd() cuts a " (recommended)" suffix from both static and
  // driver PPDs (so cutting it here changes nothing); Debian's keeps it.
  fields.make_and_model = Cut(normalized, 128);
  fields.device_id = Cut(device_id, 256);
  fields.product = Cut(product, 128);
  fields.psversion = Cut(psversion, 32);
  fields.type = type == kFax ? "fax" : type == kRaster ? "raster" : type == kPDF ? "pdf" : "postscript";
  fields.languages.push_back(Cut(LanguageCode(lang_version), 6));
  for (const std::string& language : cups_languages) {
    if (fields.languages.size() == kPPDMaxLanguages) break;
    fields.languages.push_back(Cut(language, 6));
  }
  return fields;
}

std::optional<std::string> ListLine(std::string_view name, const ListFields& fields, std::string* reason) {
  // The first language is cut at a comma; the others travel only whole.
  std::string languages(fields.languages.empty() ? "xx" : fields.languages.front().substr(0, fields.languages.front().find(',')));
  for (size_t i = 1; i < fields.languages.size(); ++i) {
    const std::string& language = fields.languages[i];
    if (language.find_first_of(", \t\n\v\f\r") != std::string::npos) continue;
    if (languages.size() + 1 + language.size() > 127) break;
    languages += "," + language;
  }
  if (fields.make.empty() || fields.make_and_model.empty()) {
    *reason = "its make or make-and-model would be empty";
    return std::nullopt;
  }
  for (const std::string* field : {&fields.make, &fields.make_and_model, &fields.device_id, &fields.product, &fields.psversion}) {
    if (field->find('"') != std::string::npos) {
      *reason = "a field would hold a quotation mark";
      return std::nullopt;
    }
  }
  std::string line;
  line.reserve(512);
  line.append("\"").append(name).append("\" ").append(languages);
  for (const std::string* field : {&fields.make, &fields.make_and_model, &fields.device_id, &fields.product,
                                   &fields.psversion, &fields.type}) {
    line.append(" \"").append(*field).append("\"");
  }
  line += '\n';
  return line;
}
