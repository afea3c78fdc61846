#include "large_ppd.h"

#include <vector>

namespace {

const char* const kLanguages[] = {"fr", "de", "it", "es", "pt", "nl", "sv", "da", "fi", "nb",
                                  "pl", "cs", "hu", "ru", "ja", "zh_CN", "zh_TW", "ko", "tr", "el"};

const char* const kRulePapers[] = {
    "Letter", "A4", "Legal", "Folio", "Executive", "210x270mm", "195x270mm", "184x260mm",
    "197x273mm", "IndiaLegal", "MexicanLegal", "B4", "B5", "B6", "ISOB5", "ISOB6", "3x5",
    "FanFoldGermanLegal", "Postcard", "Postcard.Fullbleed", "DoublePostcardRotated", "Env10",
    "EnvDL", "EnvC5", "EnvC6", "EnvMonarch", "EnvPRC5Rotated", "EnvYou4", "EnvChou3", "EnvChou4",
    "EnvKaku2"};

struct Paper {
  std::string name;
  int width;
  int height;
};

std::string PaperBlock(const char* keyword, const Paper& p, size_t index) {
  std::string out;
  const std::string size = std::to_string(p.width) + " " + std::to_string(p.height);
  const std::string text = p.name + " " + std::to_string(p.width) + "x" + std::to_string(p.height);
  const std::string k = keyword;
  if (k == "PageSize" || k == "PageRegion") {
    if (index % 97 == 5) {  // a multi-line invocation value now and then
      out += "*" + k + " " + p.name + "/" + text + ": \"\n  <</PageSize[" + size +
             "]\n    /ImagingBBox null>>\n  setpagedevice\"\n*End\n";
    } else {
      out += "*" + k + " " + p.name + "/" + text + ": \"<</PageSize[" + size +
             "]/ImagingBBox null>>setpagedevice\"\n";
    }
  } else if (k == "ImageableArea") {
    out += "*" + k + " " + p.name + "/" + text + ": \"12 12 " + std::to_string(p.width - 12) + " " +
           std::to_string(p.height - 12) + "\"\n";
  } else {
    out += "*" + k + " " + p.name + "/" + text + ": \"" + size + "\"\n";
  }
  return out;
}

std::string Translations(const char* keyword, const Paper& p) {
  std::string out;
  for (const char* lang : kLanguages) {
    out += std::string("*") + lang + "." + keyword + " " + p.name + "/" + p.name + " (" + lang + "): \"\"\n";
  }
  return out;
}

std::string Constraints(const Paper& p, size_t index) {
  if (index % 3 != 0) return {};
  std::string out;
  for (const char* duplex : {"DuplexNoTumble", "DuplexTumble"}) {
    out += "*UIConstraints: *PageSize " + p.name + " *Duplex " + duplex + "\n";
    out += "*UIConstraints: *Duplex " + std::string(duplex) + " *PageSize " + p.name + "\n";
  }
  out += "*UIConstraints: *PageRegion " + p.name + " *MediaType Thick\n";
  out += "*UIConstraints: *MediaType Thick *PageRegion " + p.name + "\n";
  return out;
}

}  // namespace

std::string MakeLargePPD(size_t target, bool color) {
  std::string ppd;

  std::vector<Paper> papers;
  for (size_t i = 0; i < sizeof kRulePapers / sizeof *kRulePapers; ++i) {
    papers.push_back({kRulePapers[i], 200 + int(i) * 7, 300 + int(i) * 11});
  }
  // Bytes one paper size adds, to know how many make the target.
  const Paper probe{"Custom.100x100", 100, 100};
  size_t per_paper = 0;
  for (const char* k : {"PageSize", "PageRegion", "ImageableArea", "PaperDimension"}) {
    per_paper += PaperBlock(k, probe, 1).size() + Translations(k, probe).size();
  }
  per_paper += Constraints(probe, 0).size() / 3;
  for (size_t i = 0; papers.size() * per_paper < target; ++i) {
    papers.push_back({"Custom." + std::to_string(100 + i % 500) + "x" + std::to_string(100 + i / 500),
                      100 + int(i % 500), 100 + int(i / 500)});
  }

  std::string out =
      "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n*LanguageVersion: English\n"
      "*LanguageEncoding: ISOLatin1\n*PCFileName: \"LARGE.PPD\"\n*Manufacturer: \"Example Imaging\"\n"
      "*Product: \"(Large)\"\n*ModelName: \"Example Imaging Large\"\n*ShortNickName: \"Large\"\n"
      "*NickName: \"Example Imaging Large\"\n*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n"
      "*ISOCountryCode: \"JP\"\n*cupsVersion: 2.4\n*cupsFilter: \"application/vnd.cups-raster 100 rastertoexample\"\n";
  out += color ? "*ColorDevice: True\n*cupsModelNumber: 4\n" : "*ColorDevice: False\n*cupsModelNumber: 13\n";
  out += "*cupsLanguages: \"";
  for (const char* lang : kLanguages) out += std::string(lang) + (lang == kLanguages[19] ? "" : " ");
  out += "\"\n";
  ppd += out;

  for (const char* k : {"PageSize", "PageRegion"}) {
    out = std::string("*OpenUI *") + k + "/Media Size: PickOne\n*OrderDependency: 10 AnySetup *" + k +
          "\n*Default" + k + ": A4\n";
    for (size_t i = 0; i < papers.size(); ++i) out += PaperBlock(k, papers[i], i);
    out += std::string("*CloseUI: *") + k + "\n";
    for (const Paper& p : papers) out += Translations(k, p);
    ppd += out;
  }
  for (const char* k : {"ImageableArea", "PaperDimension"}) {
    out = std::string("*Default") + k + ": A4\n";
    for (size_t i = 0; i < papers.size(); ++i) out += PaperBlock(k, papers[i], i);
    for (const Paper& p : papers) out += Translations(k, p);
    ppd += out;
  }
  out =
      "*OpenUI *Duplex/2-Sided Printing: PickOne\n*OrderDependency: 20 AnySetup *Duplex\n"
      "*DefaultDuplex: None\n*Duplex None/Off: \"<</Duplex false>>setpagedevice\"\n"
      "*Duplex DuplexNoTumble/Long Edge: \"<</Duplex true/Tumble false>>setpagedevice\"\n"
      "*Duplex DuplexTumble/Short Edge: \"<</Duplex true/Tumble true>>setpagedevice\"\n*CloseUI: *Duplex\n"
      "*OpenUI *MediaType/Media Type: PickOne\n*OrderDependency: 30 AnySetup *MediaType\n"
      "*DefaultMediaType: Plain\n*MediaType Plain/Plain: \"<</MediaType(Plain)>>setpagedevice\"\n"
      "*MediaType Thick/Thick: \"<</MediaType(Thick)>>setpagedevice\"\n*CloseUI: *MediaType\n";
  for (size_t i = 0; i < papers.size(); ++i) out += Constraints(papers[i], i);
  ppd += out;
  return ppd;
}
