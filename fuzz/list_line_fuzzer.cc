// The driver's list line for any PPD header, and any PPD name: cups-driverd's
// own sscanf() of a line reads back every field as stated, up to an empty
// one, and never fails before the make and model; a name that the driver
// accepts reads back whole and stays below its directory.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/cups_lines.h"
#include "driver/list_fields.h"
#include "driver/ppd_name.h"
#include "fuzz_support.h"

namespace {

// load_drivers' reading of a driver's line, as in CUPS 2.4.
std::vector<std::string> ReadAsCupsDriverd(const std::string& line) {
  char name[256], languages[128], make[128], make_and_model[128], device_id[256] = "", product[128] = "",
      psversion[128] = "", type[128] = "postscript";
  const int count = std::sscanf(line.c_str(),
                                "\"%255[^\"]\"%127s%*[ \t]\"%127[^\"]\"%*[ \t]\"%127[^\"]\"%*[ \t]\"%255[^\"]\""
                                "%*[ \t]\"%127[^\"]\"%*[ \t]\"%127[^\"]\"%*[ \t]\"%127[^\"]\"",
                                name, languages, make, make_and_model, device_id, product, psversion, type);
  if (count < 4) return {};
  return {name, languages, make, make_and_model, device_id, product, psversion, type};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (RelativePathProblem(bytes).empty()) {
    const std::string name = std::string(kPPDNamePrefix) + std::string(bytes);
    const std::vector<std::string> read = ReadAsCupsDriverd("\"" + name + "\" en \"M\" \"M 1\" \"\"");
    FUZZ_CHECK(!read.empty() && read[0] == name, name);
    FUZZ_CHECK(bytes.front() != '/' && bytes.front() != '.' && name.find("/.") == std::string::npos, name);
  }
  CupsLines lines = LinesOfBytes(bytes);
  std::string reason;
  const std::optional<ListFields> fields = ReadListFields(lines, &reason);
  if (!fields) return 0;
  const std::optional<std::string> line = ListLine("ppd-localize:f.ppd", *fields, &reason);
  if (!line) return 0;
  FUZZ_CHECK(line->size() < 2047 && line->find_first_of("\r\n") == line->size() - 1, *line);
  const std::vector<std::string> read = ReadAsCupsDriverd(*line);
  FUZZ_CHECK(read.size() == 8, *line);
  FUZZ_CHECK(read[0] == "ppd-localize:f.ppd" && read[2] == fields->make && read[3] == fields->make_and_model, *line);
  FUZZ_CHECK(read[1].substr(0, read[1].find(',')) == fields->languages.front().substr(0, read[1].find(',')), *line);
  if (!fields->device_id.empty() && !fields->psversion.empty()) {
    FUZZ_CHECK(read[4] == fields->device_id && read[5] == fields->product && read[6] == fields->psversion &&
                   read[7] == fields->type,
               *line);
  }
  return 0;
}
