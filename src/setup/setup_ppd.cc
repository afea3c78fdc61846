#include "setup/setup_ppd.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "policy/model_info.h"
#include "policy/ppd_file.h"
#include "ppdtext/locale_country.h"
#include "ppdtext/ppd_load.h"
#include "ppdtext/ppd_output.h"
#include "setup/country_code_step.h"
#include "setup/rule_stage.h"

void localizePPDText(UString& text, ppd_file_t* ppd, UStringView country) {
  applyRuleStage(text, ppd, country);
  applyCountryCodeStep(text, ppd, country);
}

namespace {

int PrintOrFail(UStringView text, const char* path, FILE* out, FILE* err) {
  if (CFStringOutputPPD(text, out)) return kRunOk;
  std::fprintf(err, "ppd-localize: %s: cannot write the output: %s\n", path,
               errno != 0 ? std::strerror(errno) : "write error");
  return kRunFailed;
}

}  // namespace

int setupPPD(const char* path, FILE* out, FILE* err) {
  std::string reason;
  std::optional<UString> text = QZCFStringCreateWithPPDFile(path, &reason);
  if (!text) {
    std::fprintf(err, "ppd-localize: %s: %s\n", path != nullptr ? path : "(none)", reason.c_str());
    return kRunFailed;
  }

  PPDFile ppd(ppdOpenFile(path));
  if (!ppd) {
    int line = 0;
    const ppd_status_t status = ppdLastError(&line);
    std::fprintf(err, "ppd-localize: %s: warning: libcups cannot read it as a PPD (%s, line %d); printed unedited\n",
                 path, ppdErrorString(status), line);
    return PrintOrFail(*text, path, out, err);
  }

  determineModel(ppd.get());
  const UString country = CopyCurrentCountryCode();
  localizePPDText(*text, ppd.get(), country);
  ppd.reset();
  return PrintOrFail(*text, path, out, err);
}
