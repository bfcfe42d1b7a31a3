#pragma once

namespace torvi::gui {

class RunPage;

// One sentence on every statistic and test of the first page, with the
// paper an estimator or test follows.
void add_tooltips(RunPage& page);

}  // namespace torvi::gui
