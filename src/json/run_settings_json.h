#pragma once

#include <string>

#include "json/json_text.h"
#include "run/run_options.h"

namespace torvi {

// The controls of the main window's first page as a JSON object, one member
// per control, named like the command line's options ("hw_within_perm" for
// the permutations of --hw-within). The same object is the "settings" of a
// results document and the "options" of a settings file.
Json run_options_json(const RunOptions& o);

}  // namespace torvi
