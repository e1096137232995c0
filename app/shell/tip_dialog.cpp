#include "app/shell/tip_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrel::app {

const QStringList& TipDialog::tips() {
  static const QStringList all = {
      QStringLiteral("Try things out in the Sample section (File → Load Sample). Your live data are not "
                     "touched, and File → Load Live takes you back."),
      QStringLiteral(
          "Each time you come back to the main window, Tavrel copies your live data into the folder "
          "Data/Backup Current, after moving the previous copy to Data/Backup Previous."),
      QStringLiteral(
          "An allocation indent gives a class a number of periods of one subject from one resource "
          "in every week cycle, as single periods or as runs of consecutive periods."),
      QStringLiteral(
          "Allocate All places the active indents hardest first, by their priority letters. A long "
          "run can be stopped and resumed later from where it stopped."),
      QStringLiteral(
          "With two or more schools, File → Open School chooses the school you work on. The window "
          "caption always names the current school."),
      QStringLiteral("Hints too chatty? Clear \"Show Hint on Mouse Move\" below the user guide; Tavrel "
                     "remembers the choice with your data."),
  };
  return all;
}

TipDialog::TipDialog(QWidget* parent) : QDialog(parent), tip_(new QLabel(this)), counter_(new QLabel(this)) {
  setObjectName(QStringLiteral("TipWizard"));
  setWindowTitle(QStringLiteral("Tip of the Day"));
  setMinimumSize(440, 220);

  auto* heading = new QLabel(QStringLiteral("Did you know..."), this);
  QFont headingFont = heading->font();
  headingFont.setBold(true);
  headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
  heading->setFont(headingFont);

  tip_->setObjectName(QStringLiteral("TipText"));
  tip_->setWordWrap(true);
  tip_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  tip_->setFrameShape(QFrame::StyledPanel);
  tip_->setMargin(10);
  tip_->setBackgroundRole(QPalette::Base);
  tip_->setAutoFillBackground(true);

  auto* previous = new QPushButton(QStringLiteral("&Previous Tip"), this);
  auto* next = new QPushButton(QStringLiteral("&Next Tip"), this);
  auto* close = new QPushButton(QStringLiteral("&Close"), this);
  next->setDefault(true);
  connect(previous, &QPushButton::clicked, this, [this] { showTip(current_ - 1); });
  connect(next, &QPushButton::clicked, this, [this] { showTip(current_ + 1); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(counter_);
  buttons->addStretch(1);
  buttons->addWidget(previous);
  buttons->addWidget(next);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(tip_, 1);
  layout->addLayout(buttons);
  showTip(0);
}

void TipDialog::showTip(int index) {
  const int count = static_cast<int>(tips().size());
  current_ = ((index % count) + count) % count;
  tip_->setText(tips().at(current_));
  counter_->setText(QStringLiteral("Tip %1 of %2").arg(current_ + 1).arg(count));
}

}  // namespace tavrel::app
