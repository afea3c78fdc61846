// PPD names: what `list` may print and `cat` accepts.
#include "driver/ppd_name.h"

#include <gtest/gtest.h>

namespace {

TEST(PPDName, AcceptsRelativePaths) {
  for (const std::string& name : std::vector<std::string>{"ppd-localize:a.ppd", "ppd-localize:vendor/sub dir/Model 1.ppd.gz",
                                 "ppd-localize:caf\xC3\xA9/\xE6\x89\x93.ppd", "ppd-localize:a..b/c.",
                                 "ppd-localize:" + std::string(242, 'x')}) {
    std::string reason;
    EXPECT_EQ(RelativePathOfName(name, &reason), name.substr(13)) << name << ": " << reason;
  }
}

TEST(PPDName, RefusesEveryHostileForm) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "does not start with \"ppd-localize:\""},
      {"other:a.ppd", "does not start with \"ppd-localize:\""},
      {"PPD-LOCALIZE:a.ppd", "does not start with \"ppd-localize:\""},
      {"ppd-localize:", "no path after \"ppd-localize:\""},
      {"ppd-localize:/etc/passwd", "is absolute"},
      {"ppd-localize:../x.ppd", "has a path component starting with '.'"},
      {"ppd-localize:a/../../x.ppd", "has a path component starting with '.'"},
      {"ppd-localize:a/./x.ppd", "has a path component starting with '.'"},
      {"ppd-localize:.hidden.ppd", "has a path component starting with '.'"},
      {"ppd-localize:a//x.ppd", "has an empty path component"},
      {"ppd-localize:a/", "has an empty path component"},
      {"ppd-localize:a\nb.ppd", "holds a control character"},
      {"ppd-localize:a\tb.ppd", "holds a control character"},
      {"ppd-localize:a\x7F.ppd", "holds a control character"},
      {std::string("ppd-localize:a\0b", 16), "holds a control character"},
      {"ppd-localize:a\"b.ppd", "holds a quotation mark"},
      {"ppd-localize:a\xE9.ppd", "is not UTF-8"},
      {"ppd-localize:\xC0\xAF.ppd", "is not UTF-8"},        // overlong '/'
      {"ppd-localize:\xED\xA0\x80.ppd", "is not UTF-8"},    // a surrogate
      {"ppd-localize:a/Info.plist", "holds \".plist\""},
      {"ppd-localize:" + std::string(243, 'x'), "longer than 255 bytes"},
  };
  for (const auto& [name, message] : cases) {
    std::string reason;
    EXPECT_FALSE(RelativePathOfName(name, &reason)) << name;
    EXPECT_EQ(reason, message) << name;
  }
}

}  // namespace
