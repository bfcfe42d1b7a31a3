#include "pick_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace torvi::gui {

namespace {

QListWidget* make_list(const char* name, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  return list;
}

QPushButton* make_button(const char* name, const char* caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

void fill(QListWidget* list, const std::vector<PickEntry>& entries) {
  list->clear();
  for (const PickEntry& e : entries) {
    auto* item = new QListWidgetItem(e.text, list);
    item->setData(Qt::UserRole, e.number);
  }
}

std::vector<PickEntry> entries_of(const QListWidget* list) {
  std::vector<PickEntry> out;
  for (int i = 0; i < list->count(); ++i)
    out.push_back({list->item(i)->data(Qt::UserRole).toInt(), list->item(i)->text()});
  return out;
}

}  // namespace

PickDialog::PickDialog(const PickCaptions& captions, QWidget* parent) : QDialog(parent) {
  setObjectName(captions.object_name);
  setWindowTitle(captions.caption);
  Label1 = new QLabel(captions.left_label, this);
  Label2 = new QLabel(captions.right_label, this);
  ListBox1 = make_list("ListBox1", this);
  ListBox2 = make_list("ListBox2", this);
  BT_Add = make_button("BT_Add", ">", this);
  BT_Remove = make_button("BT_Remove", "<", this);
  BT_OK = make_button("BT_OK", "OK", this);
  BT_OK->setDefault(true);
  BT_Cancel = make_button("BT_Cancel", "Cancel", this);
  BT_Cancel->setVisible(captions.cancel_button);

  connect(BT_Add, &QPushButton::clicked, this, [this] { move_selected(ListBox1, ListBox2); });
  connect(BT_Remove, &QPushButton::clicked, this, [this] { move_selected(ListBox2, ListBox1); });
  connect(BT_OK, &QPushButton::clicked, this, [this] {
    answer_ = PickAnswer::ok;
    accept();
  });
  connect(BT_Cancel, &QPushButton::clicked, this, [this] {
    answer_ = PickAnswer::cancel;
    reject();
  });

  auto* arrows = new QVBoxLayout;
  arrows->addStretch();
  arrows->addWidget(BT_Add);
  arrows->addWidget(BT_Remove);
  arrows->addStretch();
  auto* grid = new QGridLayout;
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(Label2, 0, 2);
  grid->addWidget(ListBox1, 1, 0);
  grid->addLayout(arrows, 1, 1);
  grid->addWidget(ListBox2, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BT_OK);
  buttons->addWidget(BT_Cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
}

void PickDialog::set_lists(const PickLists& lists) {
  fill(ListBox1, lists.left);
  fill(ListBox2, lists.right);
  answer_ = PickAnswer::closed;
}

PickLists PickDialog::lists() const { return {entries_of(ListBox1), entries_of(ListBox2)}; }

void PickDialog::move_selected(QListWidget* from, QListWidget* to) {
  // In list order, whatever order the lines were selected in.
  for (int i = 0; i < from->count();) {
    if (!from->item(i)->isSelected()) {
      ++i;
      continue;
    }
    QListWidgetItem* item = from->takeItem(i);
    item->setSelected(false);
    to->addItem(item);
  }
}

}  // namespace torvi::gui
