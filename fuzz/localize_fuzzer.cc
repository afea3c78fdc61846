// The whole run on an in-memory PPD: decode, open with libcups, classify,
// localise for a country chosen by the input. The result keeps the input's
// lines in order except for removed ones and the rewritten duplex default and
// country code; it adds no statement; the country code it records is the
// user's; the option lines of the paper sizes that its defaults select are
// still there; it encodes as UTF-8; and libcups still opens it.
//
// Input: a country byte, a kind byte, then the PPD file's bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "policy/model_info.h"
#include "policy/ppd_file.h"
#include "ppdtext/ppd_load.h"
#include "setup/ink_rules.h"
#include "setup/setup_ppd.h"

namespace {

constexpr UStringView kCountries[] = {u"JP", u"CN", u"TW", u"KR", u"HK", u"DE", u"US", u"", u"jp", u"FR", u"158"};
constexpr UStringView kPaperKeywords[] = {u"PageRegion", u"PageSize", u"PaperDimension", u"ImageableArea"};

// Opens the bytes with libcups through an anonymous in-memory file.
PPDFile OpenInMemory(std::string_view bytes) {
  const int fd = memfd_create("ppd", MFD_CLOEXEC);
  if (fd < 0) fuzz::Fail("memfd_create works");
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) fuzz::Fail("the in-memory file can be written");
    done += static_cast<size_t>(n);
  }
  lseek(fd, 0, SEEK_SET);
  return PPDFile(ppdOpenFd(fd));  // which closes the descriptor
}

UStringView TrimBlanks(UStringView s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
  return s;
}

size_t CountLinesStartingWith(UStringView text, UStringView head) {
  size_t count = 0;
  for (const UStringView line : fuzz::Lines(text)) count += line.starts_with(head) ? 1 : 0;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const UStringView country = kCountries[data[0] % std::size(kCountries)];
  const unsigned kind_choice = data[1] % 8;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);

  const std::optional<UString> text = DecodePPDBytes(bytes);
  if (!text) return 0;
  PPDFile ppd = OpenInMemory(bytes);
  if (!ppd) return 0;  // the tool prints such a file unedited

  gModelInfo = {-1, -1};
  determineModel(ppd.get());
  // The kinds that no PPD classifies as by itself are reached directly.
  constexpr int32_t kChosenKinds[] = {Ink, SInk, ColorLaser, MonoLaser};
  if (kind_choice >= 4) gModelInfo.kind = kChosenKinds[kind_choice - 4];

  UString out = *text;
  localizePPDText(out, ppd.get(), country);

  const UString country_line = u"*ISOCountryCode: \"" + UString(country) + u"\"\n";
  const UString vendor_country_line = u"*DefaultQZISOCountryCode: " + UString(country) + u"\n";
  const auto rewritten = [&](UStringView line) {
    return line == u"*DefaultDuplex: DuplexNoTumble\n" || line == u"*DefaultQZDuplex: DuplexNoTumble\n" ||
           line == country_line || line == vendor_country_line;
  };
  FUZZ_CHECK(fuzz::IsWholeLineSubsequence(*text, out, rewritten),
             "not the input less whole lines, plus rewritten defaults\n" + fuzz::Show(out));
  for (const UStringView head : {u"*DefaultDuplex:", u"*DefaultQZDuplex:", u"*ISOCountryCode:", u"*DefaultQZISOCountryCode:"}) {
    FUZZ_CHECK(CountLinesStartingWith(out, head) <= CountLinesStartingWith(*text, head),
               "a statement was added: " + fuzz::Show(head));
  }

  // The country code recorded is the user's, except in Japan, where it stays.
  const size_t recorded = fuzz::FirstLineStartingWith(out, u"*ISOCountryCode:");
  if (recorded != kNotFound && country != u"JP") {
    FUZZ_CHECK(UStringView(out).substr(recorded).starts_with(country_line), "the country code is not the user's");
  }
  if (country == u"JP") {
    for (const UStringView line : fuzz::Lines(out)) {
      if (line.starts_with(u"*ISOCountryCode:") || line.starts_with(u"*DefaultQZISOCountryCode:")) {
        FUZZ_CHECK(fuzz::Contains(*text, line), "the country code changed in Japan");
      }
    }
  }

  // A paper size that a default of the result selects keeps its option lines
  // (those that begin a statement of their own), unless they name an
  // envelope that the run removes by line.
  std::vector<UString> defaults;
  for (const UStringView line : fuzz::Lines(out)) {
    for (const UStringView keyword : kPaperKeywords) {
      const UString head = u"*Default" + UString(keyword) + u":";
      if (line.starts_with(head)) defaults.emplace_back(TrimBlanks(fuzz::Contents(line).substr(head.size())));
    }
  }
  const std::vector<UString> envelopes = envelopesToDelete(country);
  const bool at_starts = fuzz::MatchesOnlyAtStatementStarts(*text, [&](UStringView line) {
    for (const UStringView keyword : kPaperKeywords) {
      for (const UStringView prefix : {u"*", u"."}) {
        if (fuzz::Contains(line, UString(prefix) + UString(keyword) + u" ")) return true;
      }
    }
    for (const UString& envelope : envelopes) {
      if (fuzz::Contains(line, envelope)) return true;
    }
    return false;
  });
  for (const size_t at : at_starts ? fuzz::TopLevelStatementStarts(*text) : std::vector<size_t>()) {
    const UStringView line = fuzz::LineFrom(*text, at);
    for (const UStringView keyword : kPaperKeywords) {
      if (line.size() < keyword.size() + 2 || line[0] != u'*' || line.substr(1, keyword.size()) != keyword ||
          line[keyword.size() + 1] != u' ') {
        continue;
      }
      const UStringView option = line.substr(keyword.size() + 2);
      const UStringView paper = option.substr(0, option.find_first_of(u"/:"));
      if (paper.size() == option.size()) continue;
      if (std::find(defaults.begin(), defaults.end(), paper) == defaults.end()) continue;
      if (fuzz::MentionsOtherPaperOption(line)) continue;
      bool names_envelope = false;
      for (const UString& envelope : envelopes) names_envelope = names_envelope || fuzz::Contains(line, envelope);
      if (names_envelope) continue;
      FUZZ_CHECK(fuzz::Contains(out, line), "the option line of a default paper went: " + fuzz::Show(line));
    }
  }

  // Never worse than the input: it encodes, and libcups opens it. Left out:
  // an input whose last value never closes (an odd number of double quotes
  // in all), which libcups reads to the end of the file; removing a statement
  // that opens such a value takes only its first line, by design, and that
  // brings the rest of the file back into view. Also left out: a line that
  // the edits may find inside another statement's value (see
  // MatchesOnlyAtStatementStarts).
  const std::string out_bytes = fuzz::MustEncode(out, "the result encodes as UTF-8");
  if (at_starts && std::count(text->begin(), text->end(), u'"') % 2 == 0) {
    FUZZ_CHECK(OpenInMemory(out_bytes) != nullptr, "libcups opened the input but not the result");
  }
  return 0;
}
