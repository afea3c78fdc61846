#include "setup/locale_country.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IsCountryCode(std::string_view code) {
  return (code.size() == 2 && std::all_of(code.begin(), code.end(), IsAsciiLetter)) ||
         (code.size() == 3 && std::all_of(code.begin(), code.end(), IsAsciiDigit));
}

std::optional<std::string> GivenCountryCodeProblem(std::string_view code) {
  if (code.empty()) return std::nullopt;
  if (!IsCountryCode(code)) return "takes two ASCII letters or three digits, not \"" + std::string(code) + "\"";
  std::string upper(code);
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (upper == code) return std::nullopt;
  return "takes a country code in upper case, not \"" + std::string(code) + "\" (did you mean " + upper + "?)";
}

std::string CountryCodeFromLocaleName(std::string_view name) {
  name = name.substr(0, name.find_first_of(".@"));
  const size_t underscore = name.find('_');
  if (underscore == std::string_view::npos) return {};
  const std::string_view territory = name.substr(underscore + 1);
  return IsCountryCode(territory) ? std::string(territory) : std::string();
}

CountryChoice CurrentCountryChoice() {
  for (const char* variable : {"LC_ALL", "LC_PAPER", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      return {StringFromASCII(CountryCodeFromLocaleName(value)), variable};
    }
  }
  return {{}, "none"};
}
