#include <QPainter>
#include <QSvgGenerator>

#include "render/page_outputs.h"
#include "render/page_painter.h"
#include "render/report_renderer.h"

namespace tavrel::render {

namespace {
// One user unit of the drawing is one point, so the drawing has the paper's size.
constexpr int kSvgResolution = 72;
}  // namespace

Status writeSvg(const reports::ReportDocument& document, const std::filesystem::path& file) {
  const QPageLayout layout = pageLayoutOf(document);
  const QRectF sheet = layout.fullRectPoints();
  const QRectF area = layout.paintRectPoints();
  const auto files = svgPageFiles(file, document.pages.size());
  for (std::size_t i = 0; i < document.pages.size(); ++i) {
    QSvgGenerator generator;
    generator.setFileName(qtPath(files[i]));
    generator.setResolution(kSvgResolution);
    generator.setSize(sheet.size().toSize());
    generator.setViewBox(QRectF(QPointF(0, 0), sheet.size()));
    generator.setTitle(QString::fromStdString(document.title));
    generator.setDescription(QString::fromStdString(document.pages[i].name));
    QPainter painter;
    if (!painter.begin(&generator)) return Error{"Cannot write " + files[i].string() + "."};
    painter.fillRect(QRectF(QPointF(0, 0), sheet.size()), Qt::white);
    paintPage(painter, document.pages[i], area);
    painter.end();
  }
  return {};
}

}  // namespace tavrel::render
