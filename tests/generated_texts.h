// Small PPD texts made to hit mixed line ends, multi-line values, *End
// lines, comments, quotes before colons and half-finished statements: for
// the tests that compare two ways of editing over many texts.
#ifndef PPDLOCALIZE_TESTS_GENERATED_TEXTS_H_
#define PPDLOCALIZE_TESTS_GENERATED_TEXTS_H_

#include <random>
#include <string>

// A text of up to twenty lines drawn from the pieces with `random`.
std::string GeneratedPPDText(std::mt19937& random);

#endif  // PPDLOCALIZE_TESTS_GENERATED_TEXTS_H_
