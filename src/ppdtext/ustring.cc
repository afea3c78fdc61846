#include "ppdtext/ustring.h"

#include <algorithm>
#include <cstring>
#include <functional>

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
  size_t contents_end = index;
  while (contents_end < text.size() && !IsLineTerminator(text[contents_end])) {
    ++contents_end;
  }
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

std::optional<UString> StringCreateWithUTF8(std::string_view bytes) {
  UString out;
  out.reserve(bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    // ASCII runs are the common case in a PPD: copy them without decoding.
    const size_t ascii_start = i;
    while (i < n && p[i] < 0x80) ++i;
    out.append(p + ascii_start, p + i);
    if (i == n) break;

    const unsigned char lead = p[i];
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
      return std::nullopt;  // continuation byte, overlong lead or out of range
    }
    if (n - i < len) return std::nullopt;
    for (size_t k = 1; k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
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

bool StringAppendUTF8(UStringView text, std::string& out) {
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    uint32_t cp = text[i];
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (i + 1 == n || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      return false;
    }
    if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    }
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return true;
}

std::optional<std::string> StringCopyUTF8(UStringView text) {
  std::string out;
  out.reserve(text.size());
  if (!StringAppendUTF8(text, out)) return std::nullopt;
  return out;
}

UString StringFromASCII(std::string_view ascii) {
  return UString(ascii.begin(), ascii.end());
}
