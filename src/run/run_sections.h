#pragma once

#include <vector>

#include "model/analysis.h"

namespace torvi {

// One step of the analysis of a data file. A named step writes a section of
// the result file (or a companion file) that the options asked for; an
// unnamed one prepares what later sections read.
struct RunSection {
  const char* name;  // shown while it runs and named by a cancelled run; nullptr for a preparation
  bool (*wanted)(const RunOptions& o, int np, int nl);
  void (*run)(RunContext& ctx, Analysis& an);
};

// The steps these options and this data set's shape call for, in their fixed
// order.
std::vector<const RunSection*> run_sections(const RunOptions& o, int np, int nl);

// Number of named steps among `steps`: the sections a progress display counts.
int named_sections(const std::vector<const RunSection*>& steps);

}  // namespace torvi
