// The rules reader and the rules it reads, run on a PPD (input: a country
// byte, then a rules text, then, from a line "*PPD-Adobe:" on, the PPD; a
// PPD offering every kind of edit when the input has none).
//
// A text the reader refuses leaves the set as it was, with a message naming
// the file and a line of the text. Rules it reads give, on the PPD, exactly
// what the run's own way gives (the text scanned ahead for every edit the
// rules can make in the country, the rules applied ahead for the printer the
// text describes); the result is the input's statements in order, some left
// out and some defaults and country records rewritten, and libcups opens it
// whenever it opened the input.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "policy/model_info.h"
#include "policy/printer_record.h"
#include "ppdio/ppd_file.h"
#include "setup/rule_set.h"
#include "setup/rule_stage.h"

namespace {

constexpr UStringView kCountries[] = {u"JP", u"CN", u"TW", u"DE", u"US", u"", u"jp", u"158"};

constexpr char kDefaultPPD[] =
    "*PPD-Adobe: \"4.3\"\n*Manufacturer: \"Acme\"\n*ModelName: \"Acme Jet 5\"\n*NickName: \"Acme Jet 5\"\n"
    "*Product: \"(Jet 5)\"\n*1284DeviceID: \"MFG:Acme;MDL:Jet 5;\"\n*cupsModelNumber: 13\n*ColorDevice: False\n"
    "*ISOCountryCode: \"JP\"\n*OpenUI *PageSize: PickOne\n*DefaultPageSize: A4\n*PageSize A4/A4: \"\"\n"
    "*PageSize Letter/Letter: \"\"\n*PageSize Postcard/Postcard: \"\"\n*fr.PageSize Postcard/Carte: \"\"\n"
    "*CloseUI: *PageSize\n*DefaultPageRegion: A4\n*PageRegion A4/A4: \"\"\n*PageRegion Letter/Letter: \"\"\n"
    "*DefaultImageableArea: A4\n*ImageableArea Letter/Letter: \"0 0 612 792\"\n*DefaultPaperDimension: A4\n"
    "*PaperDimension Letter/Letter: \"612 792\"\n*OpenUI *Duplex: PickOne\n*DefaultDuplex: None\n"
    "*Duplex None/Off: \"\"\n*Duplex DuplexNoTumble/Long Edge: \"\"\n*CloseUI: *Duplex\n"
    "*UIConstraints: *PageSize Postcard *Duplex DuplexNoTumble\n*Envelope EnvC5: \"EnvC5\"\n";

// The rewrites the set's SetDefault and RecordCountry actions can make.
std::vector<std::pair<UString, UString>> Rewrites(const RuleSet& rules, UStringView country) {
  std::vector<std::pair<UString, UString>> rewrites;
  const auto wide = [](std::string_view s) { return UString(s.begin(), s.end()); };
  for (const RuleTable& table : rules.tables()) {
    for (const RuleRow& row : rules.Rows(table)) {
      for (const RuleAction& action : rules.Actions(row)) {
        const RuleNames& args = rules.Args(action);
        if (action.kind == RuleAction::kSetDefault) {
          std::vector<UString> keywords = {wide(args[0])};
          if (args[0] == "PageSize" || args[0] == "PageRegion") {
            keywords = {u"PageSize", u"PageRegion", u"ImageableArea", u"PaperDimension"};
          }
          for (const UString& k : keywords) {
            rewrites.push_back({u"*Default" + k + u":", u"*Default" + k + u": " + wide(args[1]) + u"\n"});
            rewrites.push_back({u"*DefaultQZ" + k + u":", u"*DefaultQZ" + k + u": " + wide(args[1]) + u"\n"});
          }
        } else if (action.kind == RuleAction::kRecordCountry) {
          const UString k = wide(args[0]);
          rewrites.push_back({u"*" + k + u":", u"*" + k + u": \"" + UString(country) + u"\"\n"});
          rewrites.push_back({u"*DefaultQZ" + k + u":", u"*DefaultQZ" + k + u": " + UString(country) + u"\n"});
        }
      }
    }
  }
  return rewrites;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const UStringView country = kCountries[data[0] % std::size(kCountries)];
  const std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t ppd_at = input.find("*PPD-Adobe:");
  const std::string rules_text(input.substr(0, ppd_at));
  const std::string_view bytes = ppd_at == std::string_view::npos ? std::string_view(kDefaultPPD) : input.substr(ppd_at);

  // A refused text adds nothing to what was read before.
  RuleSet rules;
  std::string error;
  if (!rules.Add("<Table first>\n<Row>\nKeepAsIs\n</Row>\n</Table>\n", "first.rules", &error)) std::abort();
  if (!rules.Add(rules_text, "fuzz.rules", &error)) {
    const size_t lines = static_cast<size_t>(std::count(rules_text.begin(), rules_text.end(), '\n')) + 1;
    const size_t line = error.starts_with("fuzz.rules:") ? std::strtoul(error.c_str() + 11, nullptr, 10) : 0;
    FUZZ_CHECK(line >= 1 && line <= lines && error.find(": ", 11) != std::string::npos, error);
    FUZZ_CHECK(rules.tables().size() == 1 && rules.row_count() == 1 && rules.files().size() == 1 && !rules.UsesNames(),
               error);
    return 0;
  }
  for (const RuleTable& table : rules.tables()) {
    for (const RuleRow& row : rules.Rows(table)) FUZZ_CHECK(!rules.Actions(row).empty(), rules.Where(row));
  }

  const std::optional<PPDText> in = DecodePPDBytes(bytes);
  PPDFile ppd = in ? PPDOpenBytes(bytes, &error) : nullptr;
  if (!ppd) return 0;
  gModelInfo = {-1, -1};
  determineModel(ppd.get());
  const PrinterRecord printer = PrinterRecordOf(ppd.get(), gModelInfo);

  TextEdits edits(in->text);
  ApplyRules(rules, edits, printer, country);
  UString out = in->text;
  edits.ApplyTo(out);

  FUZZ_CHECK(fuzz::RunWritesTheSame(bytes, *in, out, rules, printer, country), rules_text + "\n" + fuzz::Show(out));

  FUZZ_CHECK(fuzz::KeepsWholeStatements(in->text, out, Rewrites(rules, country)), rules_text + "\n" + fuzz::Show(out));
  std::string out_bytes(StringGetMaximumUTF8Size(out.size()), '\0');
  const std::optional<size_t> written = StringEncode(out, in->encoding, out_bytes.data());
  FUZZ_CHECK(written && PPDOpenBytes(out_bytes.substr(0, *written), &error) != nullptr, rules_text + "\n" + fuzz::Show(out));
  return 0;
}
