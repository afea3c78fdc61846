// Lines split as cupsFileGets() splits them (gzip files: driver_commands_test.cc).
#include "driver/cups_lines.h"

#include <gtest/gtest.h>

TEST(CupsLines, SplitsAsCupsFileGets) {
  const std::string x255(255, 'x'), x16383(16383, 'x');
  const std::tuple<std::string, size_t, std::vector<std::string>> cases[] = {  // bytes, longest piece, lines
      {"a\nb\r\nc\rd", 255, {"a", "b", "c", "d"}}, {"a\n\nb\r\r\n", 255, {"a", "", "b", ""}}, {"", 255, {}},
      {std::string("a\0b\nc", 5), 255, {"a", "c"}}, {std::string(600, 'x'), 255, {x255, x255, std::string(90, 'x')}},
      // A piece that fills the buffer leaves its line end to be read as an empty line.
      {"abcdefg\nhij\n", 3, {"abc", "def", "g", "hij", ""}}, {"abc\ndef", 3, {"abc", "", "def"}},
      // CR LF across a refill of the 16384-byte buffer; a line over several refills.
      {x16383 + "\r\nb", 1 << 20, {x16383, "b"}}, {std::string(40000, 'y') + "\nz", 1 << 20, {std::string(40000, 'y'), "z"}}};
  for (const auto& [bytes, max_bytes, lines] : cases) {
    CupsLines reader = LinesOfBytes(bytes, max_bytes);
    std::vector<std::string> all;
    for (std::string line; reader.Next(line);) all.push_back(line);
    EXPECT_EQ(all, lines) << bytes;
  }
  CupsLines broken([](char*, size_t) { return -1L; });  // a read error ends the lines and is kept
  std::string line;
  EXPECT_TRUE(!broken.Next(line) && broken.failed());
}
