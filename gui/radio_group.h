#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace torvi::gui {

// A captioned group of radio items laid out in columns, with an item index
// that may be -1 (no item chosen).
class RadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  RadioGroup(const QString& name, const QString& caption, const QStringList& items, int columns,
             QWidget* parent = nullptr);

  int item_index() const;
  void set_item_index(int index);
  QRadioButton* item(int index) const;
  // Puts a control beside an item (in the column after the items).
  void add_beside(int index, QWidget* widget);

 signals:
  // An item became the chosen one, by a click or by set_item_index.
  void item_chosen(int index);

 private:
  QButtonGroup* buttons_;
  int columns_;
};

}  // namespace torvi::gui
