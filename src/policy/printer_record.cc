#include "policy/printer_record.h"

#include <strings.h>

#include <optional>

namespace {

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The quoted values of the statements whose head begins with `keyword`
// (say "*Product:"), in order, as UTF-8; a value that does not close on its
// line is taken to the line's end.
std::vector<std::string> QuotedValues(UStringView text, UStringView keyword) {
  std::vector<std::string> values;
  for (size_t at = StringFind(text, keyword); at != kNotFound; at = StringFind(text, keyword, at + 1)) {
    if (!IsLineStart(text, at)) continue;
    const size_t end = StringGetLineBounds(text, at).contentsEnd;
    UStringView v = text.substr(at + keyword.size(), end - at - keyword.size());
    const size_t open = v.find(u'"');
    if (open != UStringView::npos) {
      v.remove_prefix(open + 1);
      v = v.substr(0, v.find(u'"'));
    }
    values.push_back(StringCopyUTF8(v).value_or(""));
  }
  return values;
}

std::string Last(const std::vector<std::string>& values) { return values.empty() ? "" : values.back(); }

std::string Held(const char* value) { return value != nullptr ? value : ""; }

}  // namespace

std::string DeviceIdField(std::string_view id, std::string_view key, std::string_view other_key) {
  while (!id.empty()) {
    const std::string_view field = id.substr(0, id.find(';'));
    id.remove_prefix(std::min(id.size(), field.size() + 1));
    const size_t colon = field.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = Trimmed(field.substr(0, colon));
    for (const std::string_view wanted : {key, other_key}) {
      if (name.size() == wanted.size() && strncasecmp(name.data(), wanted.data(), name.size()) == 0) {
        return std::string(Trimmed(field.substr(colon + 1)));
      }
    }
  }
  return "";
}

PrinterRecord PrinterRecordOf(ppd_file_t* ppd, const ModelInfo& model) {
  PrinterRecord record;
  record.model = model;
  if (ppd == nullptr) return record;
  record.manufacturer = Held(ppd->manufacturer);
  record.modelName = Held(ppd->modelname);
  record.nickName = Held(ppd->nickname);
  for (ppd_attr_t* a = ppdFindAttr(ppd, "Product", nullptr); a != nullptr; a = ppdFindNextAttr(ppd, "Product", nullptr)) {
    record.products.push_back(Held(a->value));
  }
  if (ppd_attr_t* id = ppdFindAttr(ppd, "1284DeviceID", nullptr); id != nullptr && id->value != nullptr) {
    record.mfg = DeviceIdField(id->value, "MFG", "MANUFACTURER");
    record.mdl = DeviceIdField(id->value, "MDL", "MODEL");
  }
  return record;
}

PrinterRecord GuessPrinterFromText(UStringView text, bool names) {
  PrinterRecord record;
  record.model = GuessModelFromText(text);
  if (!names) return record;
  // PPDs name the printer in their header, before the first option: the
  // names are looked for there only, which spares five searches of the
  // whole text.
  text = text.substr(0, StringFind(text, u"\n*OpenUI"));
  record.manufacturer = Last(QuotedValues(text, u"*Manufacturer:"));
  record.modelName = Last(QuotedValues(text, u"*ModelName:"));
  record.nickName = Last(QuotedValues(text, u"*NickName:"));
  record.products = QuotedValues(text, u"*Product:");
  const std::vector<std::string> ids = QuotedValues(text, u"*1284DeviceID:");
  if (!ids.empty()) {
    record.mfg = DeviceIdField(ids.front(), "MFG", "MANUFACTURER");
    record.mdl = DeviceIdField(ids.front(), "MDL", "MODEL");
  }
  return record;
}
