#pragma once

#include <string>

#include "report/fixed_format.h"

namespace torvi {

// The usual 6:3 table value, or the NA text when the value could not be formed.
inline std::string fixed_or_na(bool formed, long double value) {
  return formed ? fixed(value, 6, 3) : std::string(kNA6);
}

}  // namespace torvi
