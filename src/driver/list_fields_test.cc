// The list line of a PPD for header variants: what cups-driverd 2.4.2 records for the same files as
// static PPDs, but for the fields its reading of a driver's line ends at an empty device id.
#include "driver/list_fields.h"

#include <gtest/gtest.h>

static std::string LineOrReason(std::string_view ppd) {
  CupsLines lines = LinesOfBytes(ppd);
  std::string reason;
  const std::optional<ListFields> fields = ReadListFields(lines, &reason);
  return (fields ? ListLine("n", *fields, &reason) : std::nullopt).value_or(reason);
}

TEST(ListFields, FieldsAsCupsDriverdRecordsThemOrWhyLeftOut) {
  const std::string h = "*PPD-Adobe: \"4.3\"\n", p = "*Product: \"(P)\"\n*PSVersion: \"(1)\"\n", end = R"x( "" "P" "(1)" ")x";
  std::string forty = "*cupsLanguages: \"", zh_tw = "\"n\" xx", ja = forty, ja31 = zh_tw;
  for (int i = 0; i < 40; ++i) forty += i == 20 ? "abcd " : "zh_TW ";
  for (int i = 0; i < 20; ++i) zh_tw += ",zh_TW";
  zh_tw += ",abcd";  // as many as fit cups-driverd's 127 bytes, to the last
  for (int i = 0; i < 31; ++i) { ja += "ja "; ja31 += ",ja"; }  // as many as its 32 languages
  const std::pair<std::string, std::string> cases[] = {  // the PPD, its line or why it has none
      {h + "*Manufacturer: \" Acme\"\n*Product: \"(Laser 1)\"\n*ModelName: \"Acme Laser 1\"\n*NickName: \"Acme Laser 1, 2.0\"\n"
       "*PSVersion: \"(3010.000) 0\"\n*1284DeviceID: \"MFG:Acme;MDL:Laser 1\"\n*LanguageVersion: German-CH\n"
       "*cupsLanguages: \"fr  it\tx,y ja abcdefg\"\n",
       R"x("n" de_CH,fr,it,ja,abcde "Acme" "Acme Laser 1, 2.0" "MFG:Acme;MDL:Laser 1;" "Laser 1" "(3010.000) 0" "postscript")x" "\n"},
      {h + "*Product: \"(Laser 2)\"\n*PSVersion: \"(2017.000) 1\"\n*ModelName: \"Acme-Laser 2\"\n"
       "*cupsFilter: \"application/vnd.cups-raster 0 x\"\n", R"x("n" xx "Acme" "Acme-Laser 2" "" "Laser 2" "(2017.000) 1" "raster")x" "\n"},
      {h + p + "*Manufacturer: \"Hewlett-Packard\"\n*NickName: \"hewlett-packard LaserJet 4000 (recommended)\"\n",
       R"x("n" xx "HP" "HP LaserJet 4000 (recommended)")x" + end + "postscript\"\n"},
      {h + p + "*Manufacturer: \"linotype\"\n*NickName: \"Lino L\"\n", R"x("n" xx "LHAG" "LHAG Lino L")x" + end + "postscript\"\n"},
      {h + p + "*Manufacturer: \"ESP\"\n*NickName: \"Zeta/Printer\"\n", R"x("n" xx "ESP" "ESP Zeta/Printer")x" + end + "postscript\"\n"},
      {h + p + "*LanguageVersion: English-a,b\n*ModelName: \"Zed\"\n", R"x("n" en_a "Other" "Zed")x" + end + "postscript\"\n"},
      {h + p + forty + "\"\n*LanguageVersion: Klingon\n*ModelName: \" Zed Q\"\n", zh_tw + R"x( "Zed" "Zed Q")x" + end + "postscript\"\n"},
      {h + p + ja + "zh_TW\"\n*ModelName: \"M\"\n", ja31 + R"x( "Other" "M")x" + end + "postscript\"\n"},
      {h + "*LanguageVersion: French\n*LanguageEncoding: ISOLatin1\n*Manufacturer: \"Soci\xE9t\xE9\"\n" + p +
       "*NickName: \"Soci\xE9t\xE9 I\"\n", "\"n\" fr \"Soci\xE9t\xE9\" \"Soci\xE9t\xE9 Soci\xC3\xA9t\xC3\xA9 I\"" + end + "postscript\"\n"},
      {h + p + "*ModelName: \"Acme R\"\n*OrderDependency: 10 AnySetup *X\n*cupsFilter: \"application/vnd.cups-raster 0 x\"\n",
       R"x("n" xx "Acme" "Acme R")x" + end + "raster\"\n"},  // only an *OpenUI ends the header
      {h + "*cupsFilter: \"application/vnd.cups-raster 0 x\"\n*cupsFax: True\n" + p + "*ModelName: \"Fax F\"\n",
       R"x("n" xx "Fax" "Fax F")x" + end + "fax\"\n"},
      {h + "*cupsFilter2: \"application/vnd.cups-pdf application/pdf 0 -\"\n*cupsFilter: \"application/vnd.cups-raster 0 x\"\n" +
       p + "*ModelName: \"Pdf P\"\n", R"x("n" xx "Pdf" "Pdf P")x" + end + "pdf\"\n"},
      {h + "*OpenGroup: InstallableOptions\n*OpenUI *Option1: Boolean\n*CloseGroup: Installable\n*Product: \"()\"\n*Product: \"(S\"\n"
       "*Product: \"(S)\"\n*Product: \"(S2)\"\n*PSVersion: \"(1)\"\n*PSVersion: \"(2)\"\n*ModelName: \"Stop S\"\n"
       "*OpenUI *PageSize: PickOne\n*1284DeviceID: \"MFG:Late\"\n", R"x("n" xx "Stop" "Stop S" "" "S" "(1)" "postscript")x" "\n"},
      {h + "*Product: \"(" + std::string(200, 'p') + ")\"\n*PSVersion: \"(" + std::string(60, '9') + ")\"\n*ModelName: \"" +
       std::string(150, 'M') + "\"\n", "\"n\" xx \"Other\" \"" + std::string(127, 'M') + "\" \"\" \"" + std::string(127, 'p') +
       "\" \"(" + std::string(30, '9') + "\" \"postscript\"\n"},  // cut to cups-driverd's widths
      {"", "not a PPD (no *PPD-Adobe: first line)"}, {"\xEF\xBB\xBF" + h, "not a PPD (no *PPD-Adobe: first line)"},
      {h + "*PSVersion: \"(1)\"\n*ModelName: \"M\"\n", "no *Product"}, {h + "*Product: \"(P)\"\n*ModelName: \"M\"\n", "no *PSVersion"},
      {h + p + "*NickName: \"   \"\n", "no *NickName or *ModelName"}};
  for (const auto& [ppd, expected] : cases) EXPECT_EQ(LineOrReason(ppd), expected) << ppd;
  std::string reason;
  EXPECT_FALSE(ListLine("n", {{"en"}, "M", "M \"1\"", "", "P", "(1)", "raster"}, &reason));
  EXPECT_EQ(reason, "a field would hold a quotation mark");
}
