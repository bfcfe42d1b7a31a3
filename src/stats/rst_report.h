#pragma once

#include "model/analysis.h"

namespace torvi {

// The Rho_st section.
void rst_report(RunContext& ctx, Analysis& an);

}  // namespace torvi
