#pragma once

// The summary of a data file as text and as a JSON document.

#include "data/data_summary_text.h"
#include "json/summary_json.h"
