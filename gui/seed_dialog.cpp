#include "seed_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace torvi::gui {

SeedDialog::SeedDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("fseedRnd");
  setWindowTitle("Seeds Random Number generator?");
  Ernd1 = new QLineEdit(this);
  Ernd1->setObjectName("Ernd1");
  ERnd2 = new QLineEdit(this);
  ERnd2->setObjectName("ERnd2");
  BT_OK = new QPushButton("&OK", this);
  BT_OK->setDefault(true);
  connect(BT_OK, &QPushButton::clicked, this, &QDialog::accept);

  auto* form = new QFormLayout;
  form->addRow("First seed? [1..2147483562]", Ernd1);
  form->addRow("Second seed?  [1..2147483398]", ERnd2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(BT_OK, 0, Qt::AlignHCenter);
}

std::optional<Host::SeedTexts> SeedDialog::ask() {
  Ernd1->clear();
  ERnd2->clear();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return Host::SeedTexts{Ernd1->text().toStdString(), ERnd2->text().toStdString()};
}

void SeedDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Ernd1->setFocus();
}

}  // namespace torvi::gui
