#include "app/shell/about_box.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/shell/pictures.h"

namespace tavrel::app {

AboutBox::AboutBox(Use use, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("About Tavrel"));
  setFixedSize(470, 240);

  auto* logo = new QLabel(this);
  logo->setPixmap(picture(kPictureInstitutionView).pixmap(72, 72));
  logo->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  auto* name = new QLabel(QStringLiteral("Tavrel"), this);
  QFont nameFont = name->font();
  nameFont.setPointSizeF(nameFont.pointSizeF() * 2.0);
  nameFont.setBold(true);
  name->setFont(nameFont);

  auto* version = new QLabel(QStringLiteral("Version %1").arg(QCoreApplication::applicationVersion()), this);
  auto* about = new QLabel(
      QStringLiteral("Weekly timetables for an institution of up to nine schools: the week cycle, classes, "
                     "resources and subjects, the allocation indents, automatic allocation, and the class, "
                     "resource and school timetables ready to print."),
      this);
  about->setWordWrap(true);

  auto* text = new QVBoxLayout;
  text->addWidget(name);
  text->addWidget(version);
  text->addSpacing(8);
  text->addWidget(about);
  text->addStretch(1);

  auto* body = new QHBoxLayout;
  body->addWidget(logo);
  body->addSpacing(12);
  body->addLayout(text, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 20, 20, 14);
  layout->addLayout(body, 1);

  if (use == Use::Splash) {
    // A splash has no title bar; a thin frame keeps it from melting into the desktop.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setStyleSheet(QStringLiteral("QDialog#AboutBox { border: 1px solid #27354a; }"));
    auto* starting = new QLabel(QStringLiteral("Starting..."), this);
    starting->setAlignment(Qt::AlignRight);
    layout->addWidget(starting);
  } else {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
  }
}

}  // namespace tavrel::app
