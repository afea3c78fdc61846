// The whole run on an in-memory PPD: decode, open with libcups, classify,
// localise for a country chosen by the input. Whenever libcups opened the
// input it opens the result; the result is the input's statements in order,
// some left out and the duplex default and country code rewritten; and the
// country code it records is the user's.
//
// Input: a country byte, a kind byte, then the PPD file's bytes.
#include <cstdint>
#include <span>
#include <utility>

#include "fuzz_support.h"
#include "policy/model_info.h"
#include "policy/ppd_file.h"
#include "ppdtext/ppd_load.h"
#include "ppdtext/statements.h"
#include "setup/setup_ppd.h"

namespace {

constexpr UStringView kCountries[] = {u"JP", u"CN", u"TW", u"KR", u"HK", u"DE", u"US", u"", u"jp", u"158"};

// True when `out` is the statements of `in` in order, some left out and some
// replaced by the rewrite that `rewrites` gives for their head.
bool KeepsWholeStatements(UStringView in, UStringView out, std::span<const std::pair<UString, UString>> rewrites) {
  size_t o = 0;
  for (size_t at = 0; at < in.size();) {
    const Statement s = StatementAt(in, at);
    const UStringView piece = in.substr(s.begin, s.end - s.begin);
    if (out.substr(o).starts_with(piece)) {
      o += piece.size();
    } else {
      for (const auto& [head, line] : rewrites) {
        if (piece.starts_with(head) && out.substr(o).starts_with(line)) o += line.size();
      }
    }
    at = s.end;
  }
  return o == out.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const UStringView country = kCountries[data[0] % std::size(kCountries)];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::optional<PPDText> in = DecodePPDBytes(bytes);
  std::string error;
  PPDFile ppd = in ? PPDOpenBytes(bytes, &error) : nullptr;
  if (!ppd) return 0;  // the tool passes such a file on unedited

  gModelInfo = {-1, -1};
  determineModel(ppd.get());
  constexpr int32_t kKinds[] = {Ink, SInk, ColorLaser, MonoLaser};  // Ink and SInk are never classified
  if (data[1] % 8 >= 4) gModelInfo.kind = kKinds[data[1] % 4];
  UString out = in->text;
  localizePPDText(out, ppd.get(), country);

  const UString recorded = u"*ISOCountryCode: \"" + UString(country) + u"\"\n";
  const std::pair<UString, UString> rewrites[] = {
      {u"*DefaultDuplex:", u"*DefaultDuplex: DuplexNoTumble\n"},
      {u"*DefaultQZDuplex:", u"*DefaultQZDuplex: DuplexNoTumble\n"},
      {u"*ISOCountryCode:", recorded},
      {u"*DefaultQZISOCountryCode:", u"*DefaultQZISOCountryCode: " + UString(country) + u"\n"}};
  FUZZ_CHECK(KeepsWholeStatements(in->text, out, country == u"JP" ? std::span(rewrites, 2) : std::span(rewrites)),
             fuzz::Show(out));
  if (const auto s = FindStatementStartingWith(out, u"*ISOCountryCode:"); s && s->closed && country != u"JP") {
    FUZZ_CHECK(UStringView(out).substr(s->begin).starts_with(recorded), fuzz::Show(out));
  }
  std::string out_bytes(StringGetMaximumUTF8Size(out.size()), '\0');
  const std::optional<size_t> written = in->encoding == TextEncoding::kBytes ? StringEncodeBytes(out, out_bytes.data())
                                                                             : StringEncodeUTF8(out, out_bytes.data());
  FUZZ_CHECK(written && PPDOpenBytes(out_bytes.substr(0, *written), &error) != nullptr, fuzz::Show(out));
  return 0;
}
