#pragma once

#include "model/analysis.h"

namespace torvi {

// The Weir & Cockerham section, from the observed call of wc_components.
void wc_report(RunContext& ctx, Analysis& an);

}  // namespace torvi
