// PPD names: what `list` may print and `cat` accepts.
#include "driver/ppd_name.h"

#include <gtest/gtest.h>

TEST(PPDName, AcceptsRelativePathsRefusesEveryHostileForm) {
  const std::string dot = "has a path component starting with '.'", control = "holds a control character", utf8 = "is not UTF-8";
  const std::pair<std::string, std::string> cases[] = {  // the name, why it is refused ("": accepted)
      {"ppd-localize:vendor/sub dir/Model 1.ppd.gz", ""}, {"ppd-localize:a..b/c.", ""},
      {"ppd-localize:\xC2\xA0\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF.ppd", ""},  // UTF-8's edges
      {"ppd-localize:" + std::string(242, 'x'), ""}, {"ppd-localize:" + std::string(243, 'x'), "longer than 255 bytes"},
      {"other:a.ppd", "does not start with \"ppd-localize:\""}, {"PPD-LOCALIZE:a.ppd", "does not start with \"ppd-localize:\""},
      {"ppd-localize:", "no path after \"ppd-localize:\""}, {"ppd-localize:/etc/passwd", "is absolute"},
      {"ppd-localize:../x.ppd", dot}, {"ppd-localize:a/../../x.ppd", dot}, {"ppd-localize:.hidden.ppd", dot},
      {"ppd-localize:a//x.ppd", "has an empty path component"}, {"ppd-localize:a/", "has an empty path component"},
      {"ppd-localize:\x1F" "a.ppd", control}, {"ppd-localize:a\x7F.ppd", control}, {std::string("ppd-localize:a\0b", 16), control},
      {"ppd-localize:a\"b.ppd", "holds a quotation mark"}, {"ppd-localize:a/Info.plist", "holds \".plist\""},
      {"ppd-localize:a\xE9.ppd", utf8}, {"ppd-localize:\xC1\xAF.ppd", utf8}, {"ppd-localize:\xE0\x9F\xBF.ppd", utf8},  // overlong
      {"ppd-localize:\xED\xA0\x80.ppd", utf8}, {"ppd-localize:\xF0\x8F\xBF\xBF.ppd", utf8},  // a surrogate, overlong
      {"ppd-localize:\xF4\x90\x80\x80.ppd", utf8}, {"ppd-localize:\xE6\x89.ppd", utf8}};  // past U+10FFFF, cut short
  for (const auto& [name, problem] : cases) {
    std::string reason;
    const std::optional<std::string> relative = RelativePathOfName(name, &reason);
    EXPECT_EQ(reason, problem) << name;
    EXPECT_EQ(relative, problem.empty() ? std::optional(name.substr(13)) : std::nullopt) << name;
  }
}
