#pragma once

namespace torvi::gui {

class FStatsPage;

// One sentence on every statistic and test of the first page, with the
// paper an estimator or test follows.
void add_tooltips(FStatsPage& page);

}  // namespace torvi::gui
