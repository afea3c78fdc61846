// The shape of the paper-pruning rule tables: rows of (model numbers,
// countries, what to delete), tested in order; the first row that matches
// both the model number and the country applies.
#ifndef PPDLOCALIZE_SETUP_RULE_TABLE_H_
#define PPDLOCALIZE_SETUP_RULE_TABLE_H_

#include <array>
#include <cstdint>
#include <limits>
#include <span>

#include "ppdtext/ustring.h"

// A short constant list of names (paper names or country codes).
class NameList {
 public:
  static constexpr size_t kCapacity = 13;  // the longest row names thirteen papers

  template <typename... Names>
  constexpr NameList(Names... names) : names_{UStringView(names)...}, count_(sizeof...(names)) {
    static_assert(sizeof...(names) <= kCapacity);
  }

  constexpr std::span<const UStringView> view() const { return {names_.data(), count_}; }
  constexpr bool empty() const { return count_ == 0; }

 private:
  std::array<UStringView, kCapacity> names_{};
  size_t count_;
};

inline constexpr int32_t kAnyModelMin = std::numeric_limits<int32_t>::min();
inline constexpr int32_t kAnyModelMax = std::numeric_limits<int32_t>::max();

enum class RuleAction {
  kNothing,               // the text stays as it is
  kDeletePapers,          // delete the row's papers from the paper keywords
  kDeleteEnvelopeLines,   // delete every line naming the Japanese or western envelopes
};

struct RuleRow {
  int32_t modelMin;    // signed, inclusive
  int32_t modelMax;
  NameList countries;  // exact, case-sensitive; empty means any country
  RuleAction action;
  NameList papers;     // in deletion order
};

// The first row of `rows` whose model range holds `modelNumber` and whose
// countries hold `country` (or are empty), or null.
const RuleRow* FindRuleRow(std::span<const RuleRow> rows, int32_t modelNumber, UStringView country);

#endif  // PPDLOCALIZE_SETUP_RULE_TABLE_H_
