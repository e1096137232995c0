// Makes the PDF user guide from the HTML one at build time: Qt's text engine lays the HTML out on A4
// pages, numbered at the foot, and prints them to a PDF file.
//
//   tavrel-guide-pdf "Tavrel User Guide HTML Reference.htm" "Tavrel User Guide.pdf"
#include <QFile>
#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>
#include <iostream>

#include "render/gui_application.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: tavrel-guide-pdf GUIDE.htm GUIDE.pdf\n";
    return 2;
  }
  tavrel::render::ensureGuiApplication();
  QFile html(QString::fromLocal8Bit(argv[1]));
  if (!html.open(QIODevice::ReadOnly)) {
    std::cerr << "tavrel-guide-pdf: cannot read " << argv[1] << ": " << html.errorString().toStdString() << '\n';
    return 1;
  }
  QTextDocument guide;
  guide.setBaseUrl(QUrl::fromLocalFile(QFileInfo(html).absolutePath() + QLatin1Char('/')));
  guide.setHtml(QString::fromUtf8(html.readAll()));

  const QString pdf = QString::fromLocal8Bit(argv[2]);
  {
    QPdfWriter writer(pdf);
    writer.setTitle(QStringLiteral("Tavrel User Guide"));
    writer.setCreator(QStringLiteral("Tavrel"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 16, 18, 16), QPageLayout::Millimeter);
    // Without a page size of its own the document is laid out on the writer's pages and each page
    // gets its number at the foot.
    guide.print(&writer);
  }
  if (QFileInfo(pdf).size() == 0) {
    std::cerr << "tavrel-guide-pdf: nothing was written to " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
