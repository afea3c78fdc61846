// The list line of a PPD for header variants. The expected fields are what
// cups-driverd 2.4.2 (Debian 12) recorded for the same files as static PPDs
// in its model directory (`cups-driverd dump`), but for the fields its
// reading of a driver's line ends at an empty device id (see list_fields.h).
#include "driver/list_fields.h"

#include <gtest/gtest.h>

namespace {

std::optional<std::string> LineOf(std::string_view ppd, std::string* reason) {
  CupsLines lines = LinesOfBytes(ppd);
  const std::optional<ListFields> fields = ReadListFields(lines, reason);
  return fields ? ListLine("ppd-localize:t.ppd", *fields, reason) : std::nullopt;
}

struct Case {
  const char* what;
  std::string ppd;
  const char* line;  // after "ppd-localize:t.ppd"
};

const std::string kHead = "*PPD-Adobe: \"4.3\"\n";

TEST(ListFields, FieldsAsCupsDriverdRecordsThem) {
  const Case cases[] = {
      {"every field", kHead + "*Manufacturer: \"Acme\"\n*Product: \"(Laser 1)\"\n*ModelName: \"Acme Laser 1\"\n"
       "*NickName: \"Acme Laser 1, 2.0\"\n*PSVersion: \"(3010.000) 0\"\n*1284DeviceID: \"MFG:Acme;MDL:Laser 1\"\n",
       R"x( xx "Acme" "Acme Laser 1, 2.0" "MFG:Acme;MDL:Laser 1;" "Laser 1" "(3010.000) 0" "postscript")x"},
      {"make from the model", kHead + "*Product: \"(Laser 2)\"\n*PSVersion: \"(2017.000) 1\"\n*ModelName: \"Acme-Laser 2\"\n",
       R"x( xx "Acme" "Acme-Laser 2" "" "Laser 2" "(2017.000) 1" "postscript")x"},
      {"make Other", kHead + "*Product: \"(X)\"\n*PSVersion: \"(1)\"\n*NickName: \"  Lonely\"\n",
       R"x( xx "Other" "Lonely" "" "X" "(1)" "postscript")x"},
      {"Hewlett is HP", kHead + "*Manufacturer: \"Hewlett-Packard\"\n*Product: \"(HP LaserJet 4000)\"\n*PSVersion: \"(1)\"\n"
       "*NickName: \"hewlett-packard LaserJet 4000 (recommended)\"\n",
       R"x( xx "HP" "HP LaserJet 4000 (recommended)" "" "HP LaserJet 4000" "(1)" "postscript")x"},
      {"ESP", kHead + "*Manufacturer: \"ESP\"\n*Product: \"(Y)\"\n*PSVersion: \"(1)\"\n*NickName: \"Zeta/Printer\"\n",
       R"x( xx "ESP" "ESP Zeta/Printer" "" "Y" "(1)" "postscript")x"},
      {"languages, CR LF", "*PPD-Adobe: \"4.3\"\r\n*LanguageVersion: German-CH\r\n*cupsLanguages: \"fr  it\tja\"\r\n"
       "*Product: \"(Z)\"\r\n*PSVersion: \"(1)\"\r\n*ModelName: \"Zed\"\r\n",
       R"x( de_CH,fr,it,ja "Other" "Zed" "" "Z" "(1)" "postscript")x"},
      {"unknown language, CR", "*PPD-Adobe: \"4.3\"\r*LanguageVersion: Klingon\r*Product: \"(Z)\"\r*PSVersion: \"(1)\"\r"
       "*ModelName: \"Zed Q\"\r", R"x( xx "Zed" "Zed Q" "" "Z" "(1)" "postscript")x"},
      {"Latin-1 nickname", kHead + "*LanguageVersion: French\n*LanguageEncoding: ISOLatin1\n*Manufacturer: \"Soci\xE9t\xE9\"\n"
       "*Product: \"(I)\"\n*PSVersion: \"(1)\"\n*NickName: \"Soci\xE9t\xE9 I\"\n",
       " fr \"Soci\xE9t\xE9\" \"Soci\xE9t\xE9 Soci\xC3\xA9t\xC3\xA9 I\" \"\" \"I\" \"(1)\" \"postscript\""},
      {"fax wins", kHead + "*cupsFilter: \"application/vnd.cups-raster 0 x\"\n*cupsFax: True\n*Product: \"(F)\"\n"
       "*PSVersion: \"(1)\"\n*ModelName: \"Fax F\"\n", R"x( xx "Fax" "Fax F" "" "F" "(1)" "fax")x"},
      {"first filter wins", kHead + "*cupsFilter2: \"application/vnd.cups-pdf application/pdf 0 -\"\n"
       "*cupsFilter: \"application/vnd.cups-raster 0 x\"\n*Product: \"(P)\"\n*PSVersion: \"(1)\"\n*ModelName: \"Pdf P\"\n",
       R"x( xx "Pdf" "Pdf P" "" "P" "(1)" "pdf")x"},
      {"firsts, stop at OpenUI", kHead + "*OpenGroup: InstallableOptions\n*OpenUI *Option1: Boolean\n*CloseGroup: Installable\n"
       "*Product: \"()\"\n*Product: \"(S\"\n*Product: \"(S)\"\n*Product: \"(S2)\"\n*PSVersion: \"(1)\"\n*PSVersion: \"(2)\"\n"
       "*ModelName: \"Stop S\"\n*OpenUI *PageSize: PickOne\n*1284DeviceID: \"MFG:Late\"\n",
       R"x( xx "Stop" "Stop S" "" "S" "(1)" "postscript")x"},
      {"cut to cups-driverd's widths", kHead + "*Product: \"(" + std::string(200, 'p') + ")\"\n*PSVersion: \"(" +
       std::string(60, '9') + ")\"\n*ModelName: \"" + std::string(150, 'M') + "\"\n",
       nullptr},
  };
  for (const Case& c : cases) {
    std::string reason;
    const std::optional<std::string> line = LineOf(c.ppd, &reason);
    ASSERT_TRUE(line) << c.what << ": " << reason;
    const std::string expected = c.line != nullptr ? c.line
        : " xx \"Other\" \"" + std::string(127, 'M') + "\" \"\" \"" + std::string(127, 'p') + "\" \"(" + std::string(30, '9') + "\" \"postscript\"";
    EXPECT_EQ(*line, "\"ppd-localize:t.ppd\"" + expected + "\n") << c.what;
  }
}

TEST(ListFields, LeavesOutWhatCupsDriverdSkips) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "not a PPD (no *PPD-Adobe: first line)"},
      {"\xEF\xBB\xBF*PPD-Adobe: \"4.3\"\n", "not a PPD (no *PPD-Adobe: first line)"},
      {kHead + "*PSVersion: \"(1)\"\n*ModelName: \"M\"\n", "no *Product"},
      {kHead + "*Product: \"(P)\"\n*ModelName: \"M\"\n", "no *PSVersion"},
      {kHead + "*Product: \"(P)\"\n*PSVersion: \"(1)\"\n*NickName: \"   \"\n", "no *NickName or *ModelName"},
  };
  for (const auto& [ppd, message] : cases) {
    std::string reason;
    EXPECT_FALSE(LineOf(ppd, &reason)) << ppd;
    EXPECT_EQ(reason, message);
  }
}

TEST(ListFields, LanguagesThatCannotTravelAreLeftOff) {
  ListFields fields{{"en_a,", "fr", "x,y", "ja"}, "M", "M 1", "", "P", "(1)", "raster"};
  std::string reason;
  EXPECT_EQ(ListLine("n", fields, &reason), "\"n\" en_a,fr,ja \"M\" \"M 1\" \"\" \"P\" \"(1)\" \"raster\"\n");
  fields.languages = {"en"};
  for (int i = 0; i < 40; ++i) fields.languages.push_back("zh_TW");
  std::string twenty = "en";  // as many as fit cups-driverd's 127 bytes
  for (int i = 0; i < 20; ++i) twenty += ",zh_TW";
  const std::string line = ListLine("n", fields, &reason).value_or("");
  EXPECT_EQ(line.substr(4, line.find(' ', 4) - 4), twenty);
  fields.make_and_model = "a\"b";
  EXPECT_FALSE(ListLine("n", fields, &reason));
  EXPECT_EQ(reason, "a field would hold a quotation mark");
}

}  // namespace
