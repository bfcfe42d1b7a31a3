#pragma once

// The random stream and the seeds file that carries it between runs.

#include "random/rng.h"
#include "random/seeds_file.h"
#include "random/seeds_lock.h"
