// The user-guide pane of the main window: the HTML guide with a button back to its top, the PDF
// guide opened in the computer's PDF viewer, and the "Show Hint on Mouse Move" check box.
#pragma once

#include <QDir>
#include <QWidget>

class QCheckBox;
class QLabel;
class QTabWidget;
class QTextBrowser;

namespace tavrel::app {

class UserGuidePane final : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kHtmlGuide = "Tavrel User Guide HTML Reference.htm";
  static constexpr const char* kPdfGuide = "Tavrel User Guide.pdf";

  UserGuidePane(const QDir& programFolder, QWidget* parent = nullptr);

  QTabWidget* tabs() const { return tabs_; }
  QTextBrowser* browser() const { return browser_; }
  QCheckBox* hintBox() const { return hintBox_; }
  QLabel* pdfStatus() const { return pdfStatus_; }

  bool htmlGuideInstalled() const { return htmlInstalled_; }
  void openPdfGuide();

 private:
  QWidget* buildHtmlTab();
  QWidget* buildPdfTab();
  void loadHtmlGuide();

  QDir programFolder_;
  QTabWidget* tabs_;
  QTextBrowser* browser_ = nullptr;
  QLabel* pdfStatus_ = nullptr;
  QCheckBox* hintBox_;
  bool htmlInstalled_ = false;
};

}  // namespace tavrel::app
