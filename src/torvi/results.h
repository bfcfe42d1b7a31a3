#pragma once

// Results documents (BASE.torvi.json): the record of the command that made
// them, which the command line and the desktop program fill in.

#include "json/document.h"
