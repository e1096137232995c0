#include <QPainter>
#include <QPdfWriter>

#include "render/page_outputs.h"
#include "render/page_painter.h"

namespace tavrel::render {

namespace {
// Fine enough that text placed to a fraction of a point lands where it was measured.
constexpr int kPdfResolution = 1200;
}  // namespace

Status writePdf(const reports::ReportDocument& document, const std::filesystem::path& file) {
  QPdfWriter writer(qtPath(file));
  writer.setResolution(kPdfResolution);
  writer.setPageLayout(pageLayoutOf(document));
  writer.setTitle(QString::fromStdString(document.title));
  writer.setCreator("Tavrel");
  QPainter painter;
  if (!painter.begin(&writer)) return Error{"Cannot write " + file.string() + "."};
  const QRect paintable = writer.pageLayout().paintRectPixels(writer.resolution());
  const QRectF area(0, 0, paintable.width(), paintable.height());
  for (std::size_t i = 0; i < document.pages.size(); ++i) {
    if (i > 0) writer.newPage();
    paintPage(painter, document.pages[i], area);
  }
  if (!painter.end()) return Error{"Cannot write " + file.string() + "."};
  return {};
}

}  // namespace tavrel::render
