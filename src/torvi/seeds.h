#pragma once

// The random stream, the seeds file that carries it between runs, and the
// lock a command holds on that file while it runs.

#include "random/rng.h"
#include "random/seeds_file.h"
#include "random/seeds_lock.h"
#include "util/file_lock.h"
