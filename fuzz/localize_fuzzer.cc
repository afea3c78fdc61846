// The whole run on an in-memory PPD (input: a country byte, a kind byte, the
// PPD's bytes). Whenever libcups opened the input it opens the result, which is
// the input's statements in order, some left out and the duplex default and
// country code rewritten. The run's own way (the text prepared and scanned
// ahead, written piece by piece) writes exactly what localizePPDText's text
// encodes to.
// On small texts the recorded deletions and rewrites give what the
// straightforward forms in tests/reference_edits.h give.
#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>

#include "fuzz_support.h"
#include "policy/model_info.h"
#include "ppdio/ppd_file.h"
#include "ppdtext/line_deletion.h"
#include "ppdtext/option_deletion.h"
#include "reference_edits.h"
#include "setup/setup_ppd.h"

namespace {

constexpr UStringView kCountries[] = {u"JP", u"CN", u"TW", u"KR", u"HK", u"DE", u"US", u"", u"jp", u"158"};

// The fast deletions against the reference, for names that the input picks.
void CompareWithReference(const UString& text, uint8_t pick) {
  const UString all[] = {u"A4", u"B5", u"EnvC5", u"Postcard", u"3x5", u"", u"A4Small", u"Env\n"};
  std::vector<UString> names;
  for (size_t i = 0; i < std::size(all); ++i) {
    if (pick & (1u << i)) names.push_back(all[i]);
  }
  UString fast[3] = {text, text, text}, simple[3] = {text, text, text};
  QZCFStringDeletePaperSizeArray(fast[0], &names);
  QZCFStringDeleteEnvelpes(fast[1], names);
  RecordedRunEdits(fast[2], names);
  for (const UString& name : names) SimpleDeletePaperSize(simple[0], name);
  SimpleDeleteEnvelpes(simple[1], names);
  SimpleRunEdits(simple[2], names);
  FUZZ_CHECK(fast[0] == simple[0] && fast[1] == simple[1] && fast[2] == simple[2], fuzz::Show(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const UStringView country = kCountries[data[0] % std::size(kCountries)];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::optional<PPDText> in = DecodePPDBytes(bytes);
  if (in && in->text.size() < 4096) CompareWithReference(in->text, data[1]);
  std::string error;
  PPDFile ppd = in ? PPDOpenBytes(bytes, &error) : nullptr;
  if (!ppd) return 0;  // the tool passes such a file on unedited

  gModelInfo = {-1, -1};
  determineModel(ppd.get());
  constexpr int32_t kKinds[] = {Ink, SInk, ColorLaser, MonoLaser};  // Ink and SInk are never classified
  if (data[1] % 8 >= 4) gModelInfo.kind = kKinds[data[1] % 4];
  UString out = in->text;
  localizePPDText(out, ppd.get(), country);
  FUZZ_CHECK(fuzz::RunWritesTheSame(bytes, *in, out, BuiltinRules(), PrinterRecordOf(ppd.get(), gModelInfo), country),
             fuzz::Show(out));

  const std::pair<UString, UString> rewrites[] = {
      {u"*DefaultDuplex:", u"*DefaultDuplex: DuplexNoTumble\n"},
      {u"*DefaultQZDuplex:", u"*DefaultQZDuplex: DuplexNoTumble\n"},
      {u"*ISOCountryCode:", u"*ISOCountryCode: \"" + UString(country) + u"\"\n"},
      {u"*DefaultQZISOCountryCode:", u"*DefaultQZISOCountryCode: " + UString(country) + u"\n"}};
  FUZZ_CHECK(fuzz::KeepsWholeStatements(in->text, out, country == u"JP" ? std::span(rewrites, 2) : std::span(rewrites)),
             fuzz::Show(out));
  std::string out_bytes(StringGetMaximumUTF8Size(out.size()), '\0');
  const std::optional<size_t> written = StringEncode(out, in->encoding, out_bytes.data());
  FUZZ_CHECK(written && PPDOpenBytes(out_bytes.substr(0, *written), &error) != nullptr, fuzz::Show(out));
  return 0;
}
