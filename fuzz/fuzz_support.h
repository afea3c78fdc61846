// What the fuzz targets share.
#ifndef PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_
#define PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <span>
#include <string>
#include <utility>

#include "ppdio/ppd_load.h"
#include "ppdio/ppd_output.h"
#include "ppdio/unique_fd.h"
#include "ppdtext/statements.h"
#include "ppdtext/ustring.h"
#include "setup/prepared_text.h"

namespace fuzz {

// Stops the run, which the fuzzer reports with its input: a property failed.
[[noreturn]] inline void Fail(const char* property, const std::string& detail) {
  std::fprintf(stderr, "\n*** property broken: %s\n%s\n", property, detail.substr(0, 8000).c_str());
  std::abort();
}
#define FUZZ_CHECK(condition, detail) \
  if (!(condition)) ::fuzz::Fail(#condition, detail)

inline std::string Show(UStringView text) { return StringCopyUTF8(text).value_or("(a text that does not encode)"); }

// True when `out` is the statements of `in` in order, some left out and some
// replaced by the rewrite that `rewrites` gives for their head.
inline bool KeepsWholeStatements(UStringView in, UStringView out, std::span<const std::pair<UString, UString>> rewrites) {
  size_t o = 0;
  for (size_t at = 0; at < in.size();) {
    const Statement s = StatementAt(in, at);
    const UStringView piece = in.substr(s.begin, s.end - s.begin);
    // A rewrite first: a last statement without a line end can be the start of its rewrite.
    const auto rewrite = std::find_if(rewrites.begin(), rewrites.end(), [&](const auto& r) {
      return piece.starts_with(r.first) && out.substr(o).starts_with(r.second);
    });
    if (rewrite != rewrites.end()) {
      o += rewrite->second.size();
    } else if (out.substr(o).starts_with(piece)) {
      o += piece.size();
    }
    at = s.end;
  }
  return o == out.size();
}

inline std::string Written(const std::function<bool(FILE*)>& write) {
  std::string written;
  const UniqueFd fd(memfd_create("out", MFD_CLOEXEC));
  FILE* file = fd.get() >= 0 ? fdopen(dup(fd.get()), "w") : nullptr;
  if (file == nullptr) std::abort();
  const bool ok = write(file);
  std::fclose(file);
  written.resize(static_cast<size_t>(lseek(fd.get(), 0, SEEK_END)));
  if (!ok || pread(fd.get(), written.data(), written.size(), 0) != static_cast<ssize_t>(written.size())) std::abort();
  return written;
}

// The run's own way to the output (the text prepared from the bytes and
// scanned ahead, `rules` applied ahead for the printer the text describes,
// taken or made again for `printer`, written piece by piece) against the
// `edited` text written whole.
inline bool RunWritesTheSame(std::string_view bytes, const PPDText& in, const UString& edited, const RuleSet& rules,
                             const PrinterRecord& printer, UStringView country) {
  std::optional<PPDBytes> file = PPDBytesFromMemory(bytes);
  if (!file) std::abort();
  std::stop_source done;
  done.request_stop();
  PreparedText prepared = PrepareText(*file, rules, country, done.get_token());
  if (!prepared.text || prepared.text->text != in.text) return false;
  const LocalizedText localized = LocalizePrepared(prepared, rules, printer, country);
  return Written([&](FILE* to) { return OutputEditedPPD(localized.edits, to, in.encoding); }) ==
         Written([&](FILE* to) { return CFStringOutputPPD(edited, to, in.encoding); });
}

}  // namespace fuzz

#endif  // PPDLOCALIZE_FUZZ_FUZZ_SUPPORT_H_
