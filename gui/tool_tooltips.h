#pragma once

namespace torvi::gui {

class BiasDispersalWindow;
class GroupsPage;
class RegressWindow;

// One sentence on every statistic, test and count of the tools' pages and
// windows.
void add_tooltips(GroupsPage& page);
void add_tooltips(RegressWindow& window);
void add_tooltips(BiasDispersalWindow& window);

}  // namespace torvi::gui
