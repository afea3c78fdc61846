// The user's country, from the locale environment.
#ifndef PPDLOCALIZE_SETUP_LOCALE_COUNTRY_H_
#define PPDLOCALIZE_SETUP_LOCALE_COUNTRY_H_

#include <optional>
#include <string>
#include <string_view>

#include "ppdtext/ustring.h"

// True for the codes that count as a country: two ASCII letters or three
// ASCII digits. The code ends up unescaped in the PPD.
bool IsCountryCode(std::string_view code);

// What is wrong with `code` as a country given by hand (an option or a
// configuration line), or nothing when it is the empty code or a country
// code in upper case: no ISO 3166 code is written in lower case, and a code
// that matches no rule would silently get the "any other country" rules.
std::optional<std::string> GivenCountryCodeProblem(std::string_view code);

// The territory of a locale name `language[_territory][.codeset][@modifier]`,
// exactly as written ("ja_JP.UTF-8" gives "JP", "ja_jp" gives "jp"), when it
// is a country code; anything else, and a name without territory ("C",
// "POSIX", "C.UTF-8"), gives the empty string.
std::string CountryCodeFromLocaleName(std::string_view name);

// A country code and where it came from.
struct CountryChoice {
  UString code;
  const char* source;  // "LC_ALL", "LC_PAPER", "LANG", or "none"
};

// The country of the current locale, for the paper category: the territory of
// the first non-empty of LC_ALL, LC_PAPER and LANG, or the empty string.
CountryChoice CurrentCountryChoice();
inline UString CopyCurrentCountryCode() { return CurrentCountryChoice().code; }

#endif  // PPDLOCALIZE_SETUP_LOCALE_COUNTRY_H_
