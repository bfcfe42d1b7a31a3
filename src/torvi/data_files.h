#pragma once

// Data files: reading them, the data set they hold, and the selection of
// samples and loci (label files).

#include "data/data_reader.h"
#include "data/label_file.h"
#include "data/selection.h"
#include "model/data_set.h"
