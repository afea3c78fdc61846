#include "generated_texts.h"

#include <iterator>

namespace {

const char* const kPieces[] = {
    "*PageSize A4/A4: \"x\"", "*PageSize B5: \"y\"", "*PageRegion EnvC5/C5: \"\"", "*fr.PageSize A4/A4: \"\"",
    "*UIConstraints: *PageSize A4 *Duplex DuplexTumble", "*UIConstraints: *Duplex DuplexTumble *PageSize B5",
    "*UIConstraints: *PageRegion  \tEnvC5\t*Duplex None", "*cupsUIConstraints a: \"*Duplex None *PageSize A4\"",
    "*OrderDependency: 1 AnySetup *PageSize A4 ", "*ImageableArea Postcard/P: \"1 2\"", "*PageSize Postcard/P: \"",
    "setpagedevice\"", "\" *Other: \"", "*End", "*DefaultPageSize: B5", "*DefaultPageRegion: \t3x5 ",
    "*PageSize 3x5/3 \"x\" 5: \"\"", "*% EnvC5 \"here", "*PageSize  /empty: \"\"", "*Note: \"*PageSize EnvC5/ q\"",
    "", "\"", "*UIConstraints: *PageSize 3x5", "*%*PageSize A4/old: \"\"", "\x1A*%: \"", " *PageSize B5/B5: \"\"",
    "*PageSize \xc2\x80/x: \"\"", "*PageSize A 4/x: \"\"", ".PageSize A4/x: \"\"", "*DefaultDuplex: None",
    "*DefaultDuplex: \"", "*DefaultQZDuplex: None", "*ISOCountryCode: \"JP\"", "*DefaultQZISOCountryCode: JP"};
const char* const kTerminators[] = {"\n", "\r\n", "\r"};

}  // namespace

std::string GeneratedPPDText(std::mt19937& random) {
  std::string text;
  for (size_t lines = random() % 20; lines > 0; --lines) {
    text += kPieces[random() % std::size(kPieces)];
    text += lines > 1 || random() % 3 ? kTerminators[random() % std::size(kTerminators)] : "";
  }
  return text;
}
