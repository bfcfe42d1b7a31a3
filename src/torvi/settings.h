#pragma once

// Run settings files: every control of the first page, the choice of loci
// and samples, optionally the seeds; read, checked and written (a failed
// write throws OutputError).

#include "json/settings_file.h"
#include "util/output_file.h"
