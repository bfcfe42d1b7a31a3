#include "radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace torvi::gui {

RadioGroup::RadioGroup(const QString& name, const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)), columns_(columns) {
  setObjectName(name);
  auto* grid = new QGridLayout(this);
  const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    buttons_->addButton(button, i);
    grid->addWidget(button, i % rows, i / rows);  // filled column by column
  }
  connect(buttons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) emit item_chosen(id);
  });
}

void RadioGroup::add_beside(int index, QWidget* widget) {
  auto* grid = static_cast<QGridLayout*>(layout());
  int row = 0, column = 0, row_span = 0, column_span = 0;
  grid->getItemPosition(grid->indexOf(item(index)), &row, &column, &row_span, &column_span);
  grid->addWidget(widget, row, columns_);
}

int RadioGroup::item_index() const { return buttons_->checkedId(); }

void RadioGroup::set_item_index(int index) {
  if (index >= 0) {
    buttons_->button(index)->setChecked(true);
    return;
  }
  // An exclusive group cannot uncheck its last button.
  buttons_->setExclusive(false);
  for (QAbstractButton* b : buttons_->buttons()) b->setChecked(false);
  buttons_->setExclusive(true);
}

QRadioButton* RadioGroup::item(int index) const { return static_cast<QRadioButton*>(buttons_->button(index)); }

}  // namespace torvi::gui
