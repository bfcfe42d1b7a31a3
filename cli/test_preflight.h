#pragma once

#include <string>
#include <vector>

#include "torvi/data_files.h"
#include "torvi/options.h"

namespace torvi::cli {

// The requested tests that will not run with these options, each with the
// option that would make it run; said before a run starts, so that no test
// is left out silently.
std::vector<std::string> tests_that_will_not_run(const RunOptions& o);

// The same for one data file's shape (after the samples and loci chosen):
// tests that need two samples or two loci.
std::vector<std::string> tests_that_will_not_run(const RunOptions& o, const Selection& selection,
                                                 const std::string& file, int np, int nl);

}  // namespace torvi::cli
