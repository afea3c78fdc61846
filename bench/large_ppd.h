// A large PPD shaped like big real-world ones: many paper sizes, twenty
// translation languages, many constraints in both orders, a few multi-line
// values, and every paper size that the rule tables name. Deterministic.
#ifndef PPDLOCALIZE_BENCH_LARGE_PPD_H_
#define PPDLOCALIZE_BENCH_LARGE_PPD_H_

#include <cstddef>
#include <string>

// A PPD of about `bytes` bytes (never much less); monochrome model 13, or a
// colour model 4 when `color`.
std::string MakeLargePPD(size_t bytes, bool color);

#endif  // PPDLOCALIZE_BENCH_LARGE_PPD_H_
