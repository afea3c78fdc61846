// What rules' patterns are matched against: the names as libcups reads them,
// and the guess made from the text before libcups has read it, which must
// agree with them for the rules to be applied ahead.
#include "policy/printer_record.h"

#include <gtest/gtest.h>

#include <tuple>

#include "ppd_open.h"
#include "test_support.h"

void PrintTo(const PrinterRecord& r, std::ostream* os) {
  *os << "{" << r.model.kind << "/" << r.model.modelNumber << " manufacturer=" << r.manufacturer
      << " modelName=" << r.modelName << " nickName=" << r.nickName << " products=" << testing::PrintToString(r.products)
      << " mfg=" << r.mfg << " mdl=" << r.mdl << "}";
}

namespace {

constexpr char kHeader[] = "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*LanguageVersion: English\n";

}  // namespace

TEST(PrinterRecord, NamesAsLibcupsReadsThemAndTheGuessAgrees) {
  struct Case {
    std::string statements;
    PrinterRecord want;
  };
  const auto record = [](std::string m, std::string model, std::string nick, std::vector<std::string> products,
                         std::string mfg, std::string mdl) {
    PrinterRecord r;
    r.model = {ColorLaser, 7};
    r.manufacturer = m, r.modelName = model, r.nickName = nick, r.products = products, r.mfg = mfg, r.mdl = mdl;
    return r;
  };
  const Case cases[] = {
      {"*Manufacturer: \"Acme\"\n*ModelName: \"Acme Jet 5\"\n*NickName: \"Acme Jet 5, 1.0\"\n"
       "*Product: \"(Acme Jet 5)\"\n*Product: \"(Jet 5 Plus)\"\n*1284DeviceID: \"MFG:Acme;MDL:Jet 5;CMD:PCL;\"\n",
       record("Acme", "Acme Jet 5", "Acme Jet 5, 1.0", {"(Acme Jet 5)", "(Jet 5 Plus)"}, "Acme", "Jet 5")},
      // The long keys, any case, blanks around the values; the first of each.
      {"*ModelName: \"B\"\n*1284DeviceID: \"CMD:PS; manufacturer: Beta Inc ;Model:B 1;MDL:B2;\"\n",
       record("", "B", "", {}, "Beta Inc", "B 1")},
      // Hex escapes are kept as written; the nickname is in UTF-8, from the
      // PPD's encoding.
      {"*LanguageEncoding: UTF-8\n*Manufacturer: \"Gamma<41>\"\n*NickName: \"Gamma \xC3\xA9t\xC3\xA9\"\n",
       record("Gamma<41>", "", "Gamma \xC3\xA9t\xC3\xA9", {}, "", "")},
      {"*LanguageEncoding: ISOLatin1\n*NickName: \"Gamma \xE9t\xE9\"\n",
       record("", "", "Gamma \xC3\xA9t\xC3\xA9", {}, "", "")},
      {"", record("", "", "", {}, "", "")},
  };
  for (const auto& [statements, want] : cases) {
    const std::string text = std::string(kHeader) + "*ColorDevice: True\n*cupsModelNumber: 7\n" + statements;
    const PPDFile ppd = OpenPPDText(text);
    ASSERT_NE(ppd, nullptr) << statements;
    EXPECT_EQ(PrinterRecordOf(ppd.get(), want.model), want) << statements;
    // The text as the run decodes it: Latin-1 bytes widened.
    UString decoded;
    for (const char c : text) decoded += static_cast<char16_t>(static_cast<unsigned char>(c));
    EXPECT_EQ(GuessPrinterFromText(text.find('\xE9') != std::string::npos ? decoded : U(text), true), want)
        << statements;
    const PrinterRecord unnamed = GuessPrinterFromText(decoded, false);
    EXPECT_EQ(unnamed.model, want.model);
    EXPECT_TRUE(unnamed.manufacturer.empty() && unnamed.products.empty() && unnamed.mdl.empty());
  }
  // Names after the first option are the printer's for libcups, not for
  // the guess, which looks in the header only.
  const std::string late = std::string(kHeader) + "*OpenUI *Duplex: PickOne\n*CloseUI: *Duplex\n*Product: \"(Late)\"\n";
  EXPECT_EQ(PrinterRecordOf(OpenPPDText(late).get(), {}).products, std::vector<std::string>{"(Late)"});
  EXPECT_TRUE(GuessPrinterFromText(U(late), true).products.empty());
  PrinterRecord unopened;
  unopened.model = {Ink, 3};
  EXPECT_EQ(PrinterRecordOf(nullptr, {Ink, 3}), unopened);
}

TEST(PrinterRecord, DeviceIdFields) {
  const std::tuple<std::string, std::string> cases[] = {
      {"MFG:A;MDL:B;", "A"}, {"MANUFACTURER:A;", "A"}, {"mfg:A", "A"}, {"CMD:MFG;MFG: A B ;", "A B"},
      {"MFGX:A;", ""}, {";;:;MFG", ""}, {"", ""}, {"MDL:B;MANUFACTURER:C;MFG:D;", "C"},
  };
  for (const auto& [id, mfg] : cases) EXPECT_EQ(DeviceIdField(id, "MFG", "MANUFACTURER"), mfg) << id;
}
