#pragma once

// Runs the analysis of data files: what a Run is given and what it reports.

#include "run/run_driver.h"
#include "torvi/options.h"
