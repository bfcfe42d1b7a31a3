#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "json/json_text.h"
#include "report/value_capture.h"

namespace torvi {

// One part of a result-file section (the text between two lines of stars):
// its id among the sections ("nei", "wc", "hw_within", ...), and an object
// with its title and rows. A row holds the line's cells in order: texts as
// strings, reals at full precision (the values the section formatted), whole
// numbers, NA as "NA: reason"; the P-values of a randomisation test are
// objects {P, count, N, mc_se}.
struct SectionPart {
  std::string id;
  Json object;
};

std::vector<SectionPart> section_parts(std::string_view text, const std::vector<CapturedValue>& values);

}  // namespace torvi
