#include "extras/icns.h"

#include <regex.h>

#include <string>

#include "extras/bundle_info.h"

namespace {

// A compiled POSIX expression, freed with its owner.
class CompiledExpression {
 public:
  CompiledExpression(const char* expression, int flags)
      : compiled_(regcomp(&regex_, expression, flags) == 0) {}
  ~CompiledExpression() {
    if (compiled_) regfree(&regex_);
  }
  CompiledExpression(const CompiledExpression&) = delete;
  CompiledExpression& operator=(const CompiledExpression&) = delete;

  bool compiled() const { return compiled_; }
  const regex_t* get() const { return &regex_; }

 private:
  regex_t regex_{};
  bool compiled_;
};

}  // namespace

void QZCFStringModifyICNS(UString& text, UStringView current, UStringView replacement) {
  const std::optional<UString> from = StringCreateWithFormat("%@.icns", {current});
  const std::optional<UString> to = StringCreateWithFormat("%@.icns", {replacement});
  if (!from || !to) return;
  const size_t at = StringFind(text, *from);
  if (at == kNotFound) return;
  StringReplace(text, at, at + from->size(), *to);
}

void QZCFStringReplaceICNS2(UString& text, UStringView outerKey, UStringView innerKey,
                            UStringView middleKey) {
  plist_t icons = BundleGetValueForInfoDictionaryKey(u"QZBundleIcon");
  plist_t outer = PlistDictGetValue(icons, outerKey);
  plist_t middle = PlistDictGetValue(outer, middleKey);
  const std::optional<UString> replacement = PlistCopyString(PlistDictGetValue(middle, innerKey));
  if (!replacement) return;
  const std::optional<UString> current = QZCFStringCreateFind(kIconNameExpression, text);
  if (!current) return;
  QZCFStringModifyICNS(text, *current, *replacement);
}

std::optional<UString> QZCFStringCreateFind(const char* expression, UStringView text) {
  if (expression == nullptr) return std::nullopt;
  // The encoded text always has room for its terminator: a text of three-byte
  // characters converts like any other.
  const std::optional<std::string> utf8 = StringCopyUTF8(text);
  if (!utf8) return std::nullopt;

  const CompiledExpression regex(expression, REG_EXTENDED | REG_NEWLINE);
  if (!regex.compiled()) return std::nullopt;
  regmatch_t match[2];
  if (regexec(regex.get(), utf8->c_str(), 2, match, 0) != 0) return std::nullopt;
  const regmatch_t& group = match[1];
  if (group.rm_so == -1 || group.rm_eo == -1) return std::nullopt;

  const std::string_view bytes(*utf8);
  return StringCreateWithUTF8(bytes.substr(static_cast<size_t>(group.rm_so),
                                           static_cast<size_t>(group.rm_eo - group.rm_so)));
}
