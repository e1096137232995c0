#include "app/shell/window_pictures.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/setup/institution_view.h"
#include "app/setup/school_grid_model.h"
#include "app/setup/week_setup_dialog.h"
#include "app/shell/main_window.h"

namespace tavrel::app {

namespace {

constexpr int kLayoutDelayMs = 400;

// The institution view with the current school chosen and its name being edited, so that its
// details and the picture of a slot being edited show.
void editCurrentSchool(InstitutionView& view, MainWindow& mainWindow) {
  const int code = mainWindow.application().session().schoolCode();
  if (auto row = view.gridModel()->grid().rowOf(code)) {
    view.grid()->setCurrentIndex(view.gridModel()->index(*row));
  }
  QApplication::setActiveWindow(&view);  // without a window manager nobody else activates it
  if (auto* name = view.findChild<QLineEdit*>(QStringLiteral("Edit2"))) name->setFocus();
}

// Two days selected and the "Periods" entry open: the states a person works in.
void startAPeriodsEntry(QWidget& dialog) {
  for (const char* day : {"RB2", "RB4"}) {
    if (auto* button = dialog.findChild<QRadioButton*>(QString::fromLatin1(day))) button->click();
  }
  if (auto* periods = dialog.findChild<QPushButton*>(QStringLiteral("BPeriods"))) periods->click();
}

void finish(QWidget* shown, bool saved) {
  shown->close();
  QCoreApplication::exit(saved ? 0 : 2);
}

}  // namespace

bool saveWindowPicture(MainWindow& mainWindow, const QString& code, const QString& file) {
  const QString windowCode = code == QStringLiteral("PMGrd") ? QStringLiteral("TF13") : code;
  if (windowCode != QStringLiteral("TF13") && windowCode != QStringLiteral("TF14") &&
      windowCode != QStringLiteral("TFHLP")) {
    return false;
  }

  // Work windows are modal: the watch runs from the event loop of the window itself.
  auto* watch = new QTimer(&mainWindow);
  QObject::connect(watch, &QTimer::timeout, &mainWindow, [&mainWindow, watch, code, windowCode, file] {
    QWidget* shown = QApplication::activeModalWidget();
    if (!shown || shown->objectName() != windowCode) return;
    watch->stop();
    if (auto* view = qobject_cast<InstitutionView*>(shown)) editCurrentSchool(*view, mainWindow);
    if (windowCode == QStringLiteral("TF14")) startAPeriodsEntry(*shown);
    QTimer::singleShot(kLayoutDelayMs, shown, [shown, code, file] {
      if (code != QStringLiteral("PMGrd")) {
        finish(shown, shown->grab().save(file, "PNG"));
        return;
      }
      auto* view = static_cast<InstitutionView*>(shown);
      QMenu* menu = view->gridMenu();
      menu->popup(view->grid()->viewport()->mapToGlobal(QPoint(40, 40)));
      QTimer::singleShot(kLayoutDelayMs, shown, [shown, menu, file] {
        const bool saved = menu->grab().save(file, "PNG");
        menu->close();
        finish(shown, saved);
      });
    });
  });
  watch->start(50);

  QTimer::singleShot(0, &mainWindow, [&mainWindow, windowCode] {
    if (windowCode == QStringLiteral("TF13")) {
      mainWindow.openInstitutionView();
    } else if (windowCode == QStringLiteral("TFHLP")) {
      mainWindow.showHelp("F13");
    } else {
      // The week setup of the school itself; the availability window would open it the same way.
      mainWindow.application().session().viewKind = 'L';
      WeekSetupDialog dialog(mainWindow.application(), mainWindow.helpOpener(), &mainWindow);
      dialog.run();
    }
  });
  return true;
}

}  // namespace tavrel::app
