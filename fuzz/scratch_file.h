// A scratch file for the targets that must hand libcups a path: one per
// process, in a directory removed at exit.
#ifndef PPDLOCALIZE_FUZZ_SCRATCH_FILE_H_
#define PPDLOCALIZE_FUZZ_SCRATCH_FILE_H_

#include <string>
#include <string_view>

namespace fuzz {

// Replaces the scratch file's contents with `bytes`; answers its path.
const std::string& WriteScratchFile(std::string_view bytes);

}  // namespace fuzz

#endif  // PPDLOCALIZE_FUZZ_SCRATCH_FILE_H_
