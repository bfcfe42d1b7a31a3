#pragma once

// The options of a Run as the window and the command line set them, the
// permutation counts they imply, the tests they leave out, and the default
// options kept between sessions.

#include "model/perm_counts.h"
#include "model/run_options.h"
#include "run/default_options.h"
#include "run/skipped_tests.h"
