// QZCFStringChangeDefault and QZCFStringChangeGeneralInformation on arbitrary
// texts, keywords and values. Each rewrite changes at most one statement: the
// result is the text with the whole statement of the first line that begins
// with the expected head replaced by the one expected line, or the text
// unchanged when no line begins with any of the heads it may look for.
//
// Input: keyword NUL value NUL text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "ppdtext/default_rewrite.h"

namespace {

struct Rewrite {
  UString head;  // what the statement's line begins with
  UString line;  // what replaces the statement
};

void CheckRewrite(UStringView text, UStringView out, const Rewrite* choices, size_t count, const char* what) {
  for (size_t i = 0; i < count; ++i) {
    const size_t at = fuzz::FirstLineStartingWith(text, choices[i].head);
    if (at == kNotFound) continue;
    const size_t end = fuzz::StatementEnd(text, at);
    const UString expected = UString(text.substr(0, at)) + choices[i].line + UString(text.substr(end));
    FUZZ_CHECK(out == expected, std::string(what) + ": not the one statement rewritten\n" + fuzz::Show(out));
    return;
  }
  FUZZ_CHECK(out == text, std::string(what) + ": no statement to rewrite, yet the text changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::Fields in = fuzz::SplitFields(data, size, 2);
  const UString keyword = fuzz::ToText(in.fields[0]);
  const UString value = fuzz::ToText(in.fields[1]);
  const UString text = fuzz::ToText(in.rest);
  const bool vendor = keyword.find(u"QZ") != UString::npos;

  UString by_default = text;
  QZCFStringChangeDefault(by_default, keyword, value);
  const Rewrite defaults[] = {
      {u"*Default" + keyword + u":", u"*Default" + keyword + u": " + value + u"\n"},
      {u"*DefaultQZ" + keyword + u":", u"*DefaultQZ" + keyword + u": " + value + u"\n"},
  };
  CheckRewrite(text, by_default, defaults, vendor ? 1 : 2, "QZCFStringChangeDefault");

  UString by_info = text;
  QZCFStringChangeGeneralInformation(by_info, keyword, value);
  const Rewrite infos[] = {
      {u"*" + keyword + u":", u"*" + keyword + u": \"" + value + u"\"\n"},
      {u"*DefaultQZ" + keyword + u":", u"*DefaultQZ" + keyword + u": " + value + u"\n"},
  };
  CheckRewrite(text, by_info, infos, vendor ? 1 : 2, "QZCFStringChangeGeneralInformation");

  // The rewritten text encodes whenever the text and the value do.
  if (StringCopyUTF8(text) && StringCopyUTF8(value) && StringCopyUTF8(keyword)) {
    FUZZ_CHECK(StringCopyUTF8(by_default) && StringCopyUTF8(by_info));
  }
  return 0;
}
