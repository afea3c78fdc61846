#include "ppdtext/ustring.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "ppdtext/ascii_blocks.h"
#include "ppdtext/populate_pages.h"
#include "ppdtext/unit_search.h"

size_t StringFind(UStringView text, UStringView needle, size_t from, size_t to) {
  to = std::min(to, text.size());
  if (needle.empty() || from >= to || to - from < needle.size()) return kNotFound;
  const size_t at = FindUnits(text.data() + from, to - from, needle.data(), needle.size());
  return at == to - from ? kNotFound : from + at;
}

LineBounds StringGetLineBounds(UStringView text, size_t index) {
  index = std::min(index, text.size());
  if (index > 0 && index < text.size() && text[index] == u'\n' &&
      text[index - 1] == u'\r') {
    --index;  // The LF of a CR LF pair ends the line that its CR ends.
  }
  size_t begin = index;
  while (begin > 0 && !IsLineTerminator(text[begin - 1])) --begin;
  // Lines run to a hundred units and more, mostly after the point asked for.
  size_t contents_end = text.size();
  ForEachUnitAmong(text.data() + index, text.size() - index, u'\n', u'\r', u'\n', u'\r', [&](size_t at) {
    contents_end = index + at;
    return false;
  });
  size_t end = contents_end;
  if (end < text.size()) {
    const bool crlf = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n';
    end += crlf ? 2 : 1;
  }
  return {begin, contents_end, end};
}

bool IsLineStart(UStringView text, size_t index) {
  return index == 0 || (index <= text.size() && IsLineTerminator(text[index - 1]));
}

void StringReplace(UString& text, size_t begin, size_t end, UStringView with) {
  text.replace(begin, end - begin, with);
}

size_t StringFindAndReplace(UString& text, UStringView find, UStringView with,
                            size_t begin, size_t end, bool anchored) {
  if (find.empty()) return 0;
  if (anchored) {
    if (end < begin + find.size() || UStringView(text).substr(begin, find.size()) != find) {
      return 0;
    }
    text.replace(begin, find.size(), with);
    return 1;
  }
  size_t count = 0;
  size_t at = StringFind(text, find, begin, end);
  while (at != kNotFound) {
    text.replace(at, find.size(), with);
    end = end + with.size() - find.size();
    ++count;
    at = StringFind(text, find, at + with.size(), end);
  }
  return count;
}

std::optional<UString> StringCreateWithFormat(std::string_view format,
                                              std::span<const FormatArg> args) {
  UString out;
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%') {
      out.push_back(static_cast<unsigned char>(c));
      continue;
    }
    if (++i == format.size()) return std::nullopt;
    const char directive = format[i];
    if (directive == '%') {
      out.push_back(u'%');
      continue;
    }
    if (next == args.end()) return std::nullopt;
    const FormatArg& arg = *next++;
    if (directive == '@' && std::holds_alternative<UStringView>(arg)) {
      out.append(std::get<UStringView>(arg));
    } else if (directive == 'd' && std::holds_alternative<int32_t>(arg)) {
      out.append(StringFromASCII(std::to_string(std::get<int32_t>(arg))));
    } else if (directive == 's' && std::holds_alternative<const char*>(arg)) {
      const char* bytes = std::get<const char*>(arg);
      if (bytes == nullptr) return std::nullopt;
      std::optional<UString> decoded = StringCreateWithUTF8(bytes);
      if (!decoded) return std::nullopt;
      out.append(*decoded);
    } else {
      return std::nullopt;
    }
  }
  if (next != args.end()) return std::nullopt;
  return out;
}

std::vector<UString> StringCreateArrayBySeparatingStrings(UStringView text,
                                                          UStringView separator) {
  std::vector<UString> fields;
  if (separator.empty()) {
    fields.emplace_back(text);
    return fields;
  }
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(separator, start);
    if (at == UStringView::npos) {
      fields.emplace_back(text.substr(start));
      return fields;
    }
    fields.emplace_back(text.substr(start, at - start));
    start = at + separator.size();
  }
}

namespace {

constexpr size_t kRewriteSlack = 1024;

// Decodes one sequence that does not begin with an ASCII byte, at p[*i];
// writes one or two code units to `out` and answers how many, or 0 when the
// bytes are not valid UTF-8.
size_t DecodeSequence(const unsigned char* p, size_t n, size_t* i, char16_t* out) {
  const unsigned char lead = p[*i];
  uint32_t cp;
  size_t len;
  uint32_t min;
  if (lead >= 0xC2 && lead <= 0xDF) {
    cp = lead & 0x1F, len = 2, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    cp = lead & 0x0F, len = 3, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    cp = lead & 0x07, len = 4, min = 0x10000;
  } else {
    return 0;  // continuation byte, overlong lead or out of range
  }
  if (n - *i < len) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((p[*i + k] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[*i + k] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  *i += len;
  if (cp < 0x10000) {
    out[0] = static_cast<char16_t>(cp);
    return 1;
  }
  cp -= 0x10000;
  out[0] = static_cast<char16_t>(0xD800 + (cp >> 10));
  out[1] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  return 2;
}

}  // namespace

bool StringAppendDecodedUTF8(std::string_view bytes, size_t* at, size_t until, UString& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  until = std::min(until, n);
  // Decoded a slice at a time into a small buffer, so that the string is
  // written once instead of being zero-filled first.
  constexpr size_t kSlice = 4096;
  char16_t slice[kSlice + 2];
  size_t i = *at;
  while (i < until) {
    size_t w = 0;
    while (w < kSlice && i < until) {
      const size_t ascii = WidenAscii(p + i, std::min(until - i, kSlice - w), slice + w);
      i += ascii, w += ascii;
      if (i == until || w == kSlice) break;
      if (p[i] < 0x80) {
        slice[w++] = p[i++];
        continue;
      }
      const size_t units = DecodeSequence(p, n, &i, slice + w);
      if (units == 0) return false;
      w += units;
    }
    out.append(slice, w);
  }
  *at = i;
  return true;
}

std::optional<UString> StringCreateWithUTF8(std::string_view bytes) {
  UString out;
  // Never more code units than bytes; the slack lets a rewrite lengthen a
  // line without moving the whole text to a larger buffer.
  out.reserve(bytes.size() + kRewriteSlack);
  PopulatePages(out.data(), out.capacity() * sizeof(char16_t));
  size_t at = 0;
  if (!StringAppendDecodedUTF8(bytes, &at, bytes.size(), out)) return std::nullopt;
  return out;
}

UString StringCreateWithBytes(std::string_view bytes) {
  UString out;
  out.reserve(bytes.size() + kRewriteSlack);
  StringAppendBytes(bytes, out);
  return out;
}

void StringAppendBytes(std::string_view bytes, UString& out) {
  const size_t start = out.size();
  out.resize(start + bytes.size());
  std::transform(bytes.begin(), bytes.end(), out.begin() + static_cast<ptrdiff_t>(start),
                 [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
}

std::optional<size_t> StringEncodeBytes(UStringView text, char* out) {
  for (const char16_t c : text) {
    if (c > 0xFF) return std::nullopt;
    *out++ = static_cast<char>(c);
  }
  return text.size();
}

std::optional<size_t> StringEncode(UStringView text, TextEncoding encoding, char* out) {
  return encoding == TextEncoding::kBytes ? StringEncodeBytes(text, out) : StringEncodeUTF8(text, out);
}

std::optional<UString> StringCreateWithASCII(std::string_view bytes) {
  UString out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) > 127) return std::nullopt;
    out.push_back(static_cast<char16_t>(c));
  }
  return out;
}

std::optional<size_t> StringEncodeUTF8(UStringView text, char* out) {
  char* o = out;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const size_t ascii = NarrowAscii(text.data() + i, n - i, o);
    i += ascii, o += ascii;
    if (i == n) break;
    uint32_t cp = text[i++];
    if (cp < 0x80) {
      *o++ = static_cast<char>(cp);
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (i == n || text[i] < 0xDC00 || text[i] > 0xDFFF) return std::nullopt;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i++] - 0xDC00);
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      return std::nullopt;
    }
    if (cp < 0x800) {
      *o++ = static_cast<char>(0xC0 | (cp >> 6));
    } else if (cp < 0x10000) {
      *o++ = static_cast<char>(0xE0 | (cp >> 12));
      *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    } else {
      *o++ = static_cast<char>(0xF0 | (cp >> 18));
      *o++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *o++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    *o++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return static_cast<size_t>(o - out);
}

uint64_t StringGetUTF8Size(UStringView text) {
  uint64_t size = 0;
  for (const char16_t c : text) {
    // A surrogate pair's four bytes count two per unit.
    size += c < 0x80 ? 1 : c < 0x800 || (c >= 0xD800 && c <= 0xDFFF) ? 2 : 3;
  }
  return size;
}

bool StringAppendUTF8(UStringView text, std::string& out) {
  const size_t start = out.size();
  out.resize(start + StringGetMaximumUTF8Size(text.size()));
  const std::optional<size_t> size = StringEncodeUTF8(text, out.data() + start);
  out.resize(start + size.value_or(0));
  return size.has_value();
}

std::optional<std::string> StringCopyUTF8(UStringView text) {
  std::string out(StringGetMaximumUTF8Size(text.size()), '\0');
  const std::optional<size_t> size = StringEncodeUTF8(text, out.data());
  if (!size) return std::nullopt;
  out.resize(*size);
  return out;
}

UString StringFromASCII(std::string_view ascii) {
  return UString(ascii.begin(), ascii.end());
}

UString StringConcat(std::initializer_list<UStringView> pieces) {
  size_t size = 0;
  for (const UStringView piece : pieces) size += piece.size();
  UString joined;
  joined.reserve(size);
  for (const UStringView piece : pieces) joined += piece;
  return joined;
}
