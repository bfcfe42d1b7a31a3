#include "about_box.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "system_info.h"

namespace torvi::gui {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle("About Torvi");

  auto* image = new QLabel(this);
  image->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(64, 64));

  ProductName = new QLabel("Torvi", this);
  QFont big = ProductName->font();
  big.setPointSize(big.pointSize() * 2);
  big.setBold(true);
  ProductName->setFont(big);
  Version = new QLabel("Version 2.9.4 (June 2003)", this);
  OSVersion = new QLabel(os_description(), this);
  auto* memory_label = new QLabel("Memory Available to Windows:", this);
  PhysMem = new QLabel(memory_text(physical_memory_kb()), this);
  PhysMem->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setText("OK");
  ok->setDefault(true);
  // OK is also the cancel button: Escape closes the box the same way.
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->addWidget(image, 0, 0, 3, 1, Qt::AlignTop);
  grid->addWidget(ProductName, 0, 1, 1, 2);
  grid->addWidget(Version, 1, 1, 1, 2);
  grid->addWidget(OSVersion, 2, 1, 1, 2);
  grid->addWidget(memory_label, 3, 1);
  grid->addWidget(PhysMem, 3, 2);
  grid->addWidget(buttons, 4, 0, 1, 3, Qt::AlignHCenter);
}

// The box is centred on the screen, not on the main window.
void AboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

}  // namespace torvi::gui
