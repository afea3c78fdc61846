#include "ppdio/ppd_output.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ppdtext/ascii_blocks.h"

namespace {

// Encoded in slices so that the output never needs a second whole copy.
constexpr size_t kSliceUnits = size_t{1} << 14;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

bool Encodes(UStringView text, TextEncoding encoding) {
  if (encoding == TextEncoding::kBytes) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
  }
  // Surrogates are rare in a PPD: pairs are checked only when there are any.
  if (!HasSurrogate(text.data(), text.size())) return true;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0xD800 || c > 0xDFFF) continue;
    if (!IsHighSurrogate(c) || i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
      return false;
    }
    ++i;
  }
  return true;
}

// Writes the pieces one after another, or nothing at all when any piece
// that `check` asks about does not encode (see CFStringOutputPPD).
template <typename Check>
bool OutputPieces(std::span<const UStringView> pieces, FILE* out, TextEncoding encoding, FinalNewline newline,
                  Check check) {
  size_t units = 0;
  for (const UStringView piece : pieces) {
    if (check(piece) && !Encodes(piece, encoding)) return true;
    units += piece.size();
  }
  if (units == 0) return true;
  // The pieces are encoded one after another into one buffer, written out
  // whenever the next slice might not fit: few large writes however many
  // pieces there are.
  const size_t capacity = StringGetMaximumUTF8Size(kSliceUnits) * 2;
  const auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
  size_t used = 0;
  const auto flush = [&] {
    const bool written = std::fwrite(buffer.get(), 1, used, out) == used;
    used = 0;
    return written;
  };
  UStringView last;
  for (const UStringView piece : pieces) {
    if (!piece.empty()) last = piece;
    for (size_t at = 0; at < piece.size();) {
      size_t n = std::min(kSliceUnits, piece.size() - at);
      if (at + n < piece.size() && IsHighSurrogate(piece[at + n - 1])) --n;  // keep pairs whole
      if (capacity - used < StringGetMaximumUTF8Size(n) && !flush()) return false;
      used += StringEncode(piece.substr(at, n), encoding, buffer.get() + used).value_or(0);
      at += n;
    }
  }
  if (!flush()) return false;
  if (AddsNewline(last, newline) && std::fputc('\n', out) == EOF) return false;
  return std::fflush(out) == 0 && !std::ferror(out);
}

}  // namespace

bool AddsNewline(UStringView text, FinalNewline newline) {
  return newline == FinalNewline::kAlways || text.empty() || !IsLineTerminator(text.back());
}

bool CFStringOutputPPD(UStringView text, FILE* out, TextEncoding encoding, FinalNewline newline) {
  // The whole text is checked first, so that nothing is written when any of
  // it cannot be encoded.
  return OutputPieces({&text, 1}, out, encoding, newline, [](UStringView) { return true; });
}

bool OutputEditedPPD(const TextEdits& edits, FILE* out, TextEncoding encoding, FinalNewline newline) {
  const UStringView original = edits.text();
  std::vector<UStringView> pieces;
  edits.ForEachPiece([&](UStringView piece) { pieces.push_back(piece); });
  // What is left of the original text encodes, as all of it does.
  const auto replacing = [&](UStringView piece) {
    return piece.data() < original.data() || piece.data() >= original.data() + original.size();
  };
  return OutputPieces(pieces, out, encoding, newline, replacing);
}

void QZDebugPrintCFStringRef(const UString* string, FILE* err) {
  std::fputs("Ready to show CFStringRef:", err);
  std::optional<std::string> bytes;
  if (string != nullptr && !string->empty()) bytes = StringCopyUTF8(*string);
  if (bytes) {
    // Printed as a C string would be: up to the first zero.
    std::fprintf(err, "{\"%s\"}\n", bytes->c_str());
  } else {
    std::fputs("\"<none!>\"}\n", err);
  }
}
