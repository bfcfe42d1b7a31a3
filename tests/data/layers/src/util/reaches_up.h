#pragma once

// A foundation header that reaches up to the estimators: the layer check
// must refuse it.
#include "stats/wc_components.h"
