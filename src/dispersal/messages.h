#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace torvi::dispersal {

// Texts of the messages the tests show. "\n\r" is the programs' line break.
inline constexpr const char* kInvalidFormatMessage =
    "Invalid file format. check 'biased dispersal menu '\n\rin the help file for correct format. Exiting";
inline constexpr const char* kTooManyMessage = "  Too many populations, loci or alleles.";
inline constexpr const char* kProblemMessage = "Problem in the data file!!!!";

// Input that the tests cannot use: the message says why. Nothing is removed
// of what was already written.
struct InputRefused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "Line N of FILE: what" for messages about one line of an input file.
inline std::string line_message(const std::string& file, int64_t line, const std::string& what) {
  return "Line " + std::to_string(line) + " of " + file + ": " + what;
}

}  // namespace torvi::dispersal
