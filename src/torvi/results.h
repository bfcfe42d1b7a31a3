#pragma once

// Results documents (BASE.torvi.json): the record of the command that made
// them, which the command line and the desktop program fill in.

#include "json/document.h"
#include "json/results_document.h"  // results_document_path: where a document goes
