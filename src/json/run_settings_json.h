#pragma once

#include <stdexcept>
#include <string>

#include "json/json_text.h"
#include "model/run_options.h"

namespace torvi {

// A settings file or settings object that cannot be used; what() names the
// key and what is wrong with its value.
struct SettingsError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Largest permutation count of the global tests' spin edits.
inline constexpr int32_t kGlobalPermutationsMax = 100000;

// The controls of the main window's first page as a JSON object, one member
// per control in the page's order, named like the command line's options
// ("hw_within_perm" for the permutations of --hw-within). The same object is
// the "settings" of a results document and the "options" of a settings file.
Json run_options_json(const RunOptions& o);

// Sets the controls named in `options` (others keep their value). Throws
// SettingsError for a key that names no control, or a value of the wrong
// type or outside the control's range; `where` prefixes the key in messages.
void read_run_options(const Json& options, RunOptions& o, const std::string& where = "options");

}  // namespace torvi
