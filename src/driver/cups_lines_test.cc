// Lines split as cupsFileGets() splits them, from memory and from plain and
// gzip files.
#include "driver/cups_lines.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

std::vector<std::string> AllLines(CupsLines lines) {
  std::vector<std::string> all;
  for (std::string line; lines.Next(line);) all.push_back(line);
  return all;
}

TEST(CupsLines, SplitsAsCupsFileGets) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(AllLines(LinesOfBytes("a\nb\r\nc\rd")), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(AllLines(LinesOfBytes("a\n\nb\r\r\n")), (Lines{"a", "", "b", ""}));
  EXPECT_EQ(AllLines(LinesOfBytes("")), Lines{});
  EXPECT_EQ(AllLines(LinesOfBytes(std::string_view("a\0b\nc", 5))), (Lines{"a", "c"}));
  // Longer lines come in pieces; a piece that fills the buffer leaves its
  // line end to be read as an empty line.
  EXPECT_EQ(AllLines(LinesOfBytes("abcdefg\nhij\n", 3)), (Lines{"abc", "def", "g", "hij", ""}));
  EXPECT_EQ(AllLines(LinesOfBytes("abc\ndef", 3)), (Lines{"abc", "", "def"}));
  EXPECT_EQ(AllLines(LinesOfBytes(std::string(600, 'x'))).size(), 3u);
}

TEST(CupsLines, ReadsPlainAndGzipFilesAlike) {
  const ScratchDir dir;
  const std::string text = "*PPD-Adobe: \"4.3\"\r\n" + std::string(40000, 'x') + "\n*End\n";
  for (const std::string& path : {dir.Write("plain", text), dir.Write("packed", GzipBytes(text))}) {
    GzFile file(path);
    ASSERT_TRUE(file.is_open());
    const std::vector<std::string> lines = AllLines(file.Lines());
    ASSERT_EQ(lines.size(), 2 + 40000 / 255 + 1u) << path;
    EXPECT_EQ(lines.front(), "*PPD-Adobe: \"4.3\"");
    EXPECT_EQ(lines.back(), "*End");
  }
  EXPECT_FALSE(GzFile(dir.path() + "/none").is_open());
}

}  // namespace
