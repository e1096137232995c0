#include "app/shell/user_guide_pane.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tavrel::app {

UserGuidePane::UserGuidePane(const QDir& programFolder, QWidget* parent)
    : QWidget(parent),
      programFolder_(programFolder),
      tabs_(new QTabWidget(this)),
      hintBox_(new QCheckBox(this)) {
  setObjectName(QStringLiteral("UserGuide"));
  tabs_->setObjectName(QStringLiteral("PageControl"));
  tabs_->addTab(buildHtmlTab(), QStringLiteral("User Guide html"));
  tabs_->addTab(buildPdfTab(), QStringLiteral("User Guide pdf (needs Adobe Acrobat Reader)"));

  hintBox_->setObjectName(QStringLiteral("ChBxHint"));
  hintBox_->setText(QStringLiteral("Show Hint on Mouse Move"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabs_, 1);
  layout->addWidget(hintBox_);
  loadHtmlGuide();
}

QWidget* UserGuidePane::buildHtmlTab() {
  auto* tab = new QWidget(this);
  browser_ = new QTextBrowser(tab);
  browser_->setObjectName(QStringLiteral("HtmlGuide"));
  browser_->setOpenExternalLinks(true);

  auto* goTop = new QPushButton(QStringLiteral("User Guide: &GoTop"), tab);
  goTop->setObjectName(QStringLiteral("BGoTop"));
  connect(goTop, &QPushButton::clicked, browser_, [this] {
    browser_->moveCursor(QTextCursor::Start);
    browser_->ensureCursorVisible();
  });
  auto* note = new QLabel(QStringLiteral("Read-only: the user guide installed with Tavrel."), tab);
  QFont noteFont = note->font();
  noteFont.setItalic(true);
  note->setFont(noteFont);

  auto* row = new QHBoxLayout;
  row->addWidget(goTop);
  row->addWidget(note, 1);
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(row);
  layout->addWidget(browser_, 1);
  return tab;
}

QWidget* UserGuidePane::buildPdfTab() {
  auto* tab = new QWidget(this);
  auto* explanation = new QLabel(
      QStringLiteral("The same user guide as a PDF document, for printing or reading in a PDF viewer.\n"
                     "It opens in the program that this computer uses for PDF files."),
      tab);
  explanation->setWordWrap(true);
  auto* open = new QPushButton(QStringLiteral("Open the &PDF User Guide"), tab);
  open->setObjectName(QStringLiteral("BOpenPdf"));
  connect(open, &QPushButton::clicked, this, &UserGuidePane::openPdfGuide);
  pdfStatus_ = new QLabel(tab);
  pdfStatus_->setObjectName(QStringLiteral("PdfStatus"));
  pdfStatus_->setWordWrap(true);
  pdfStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(explanation);
  layout->addWidget(open, 0, Qt::AlignLeft);
  layout->addWidget(pdfStatus_);
  layout->addStretch(1);
  return tab;
}

void UserGuidePane::loadHtmlGuide() {
  const QString path = programFolder_.filePath(QString::fromLatin1(kHtmlGuide));
  htmlInstalled_ = QFileInfo(path).isFile();
  if (htmlInstalled_) {
    browser_->setSource(QUrl::fromLocalFile(path));
    return;
  }
  browser_->setHtml(
      QStringLiteral("<h3>The user guide is not installed</h3>"
                     "<p>Tavrel shows the file <b>%1</b> from its program folder:</p><p><tt>%2</tt></p>"
                     "<p>Place the guide there to read it here.</p>")
          .arg(QString::fromLatin1(kHtmlGuide).toHtmlEscaped(),
               QDir::toNativeSeparators(programFolder_.absolutePath()).toHtmlEscaped()));
}

void UserGuidePane::openPdfGuide() {
  const QString path = programFolder_.filePath(QString::fromLatin1(kPdfGuide));
  if (!QFileInfo(path).isFile()) {
    pdfStatus_->setText(QStringLiteral("The PDF user guide is not installed: %1 was not found.")
                            .arg(QDir::toNativeSeparators(path)));
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
    pdfStatus_->setText(
        QStringLiteral("No program for PDF files was found on this computer. Open %1 with a PDF "
                       "viewer of your choice.")
            .arg(QDir::toNativeSeparators(path)));
    return;
  }
  pdfStatus_->setText(QStringLiteral("The PDF user guide was handed to this computer's PDF viewer."));
}

}  // namespace tavrel::app
