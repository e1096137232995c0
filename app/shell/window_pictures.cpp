#include "app/shell/window_pictures.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/grid/availability_window.h"
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

// The availability pictures: "TF5" a class's week with a lesson's label selected, "TF5T" a
// resource's week with the cells of a subject found, "TF5L" the school's own week, "TF5P" a class
// of a school of five days, whose toolbar is cut off.
bool isAvailabilityPicture(const QString& code) {
  return code == QStringLiteral("TF5") || code == QStringLiteral("TF5T") || code == QStringLiteral("TF5L") ||
         code == QStringLiteral("TF5P");
}

char viewKindOfPicture(const QString& code) {
  if (code == QStringLiteral("TF5T")) return 'T';
  if (code == QStringLiteral("TF5L")) return 'L';
  return 'C';
}

// The first school with a class whose week is shorter than six days (or is not).
void chooseSchoolWithClasses(store::Session& session, bool shortWeek) {
  for (const store::TSchl& school : session.store().table<store::TSchl>().range(store::TSchl::primary)) {
    if ((school.SWRKDAYS / 100 < 6) != shortWeek) continue;
    session.setSchool(school.SCHOOLCODE);
    if (!session.classes().empty()) return;
  }
}

void selectFirstLesson(AvailabilityWindow& window, bool findItsSubject) {
  const grid::AvailabilityGrid* model = window.model();
  if (!model || !model->hasOwner()) return;
  for (const grid::GridCell& cell : model->grid().cells()) {
    if (!cell.live || cell.state != grid::CellState::Allocated) continue;
    window.selectLabel({cell.day, cell.period, grid::LabelLine::Upper});
    if (findItsSubject) window.showSelected();
    return;
  }
}

void finish(QWidget* shown, bool saved) {
  shown->close();
  QCoreApplication::exit(saved ? 0 : 2);
}

}  // namespace

bool saveWindowPicture(MainWindow& mainWindow, const QString& code, const QString& file) {
  const QString windowCode = code == QStringLiteral("PMGrd")   ? QStringLiteral("TF13")
                             : isAvailabilityPicture(code) ? QStringLiteral("TF5")
                                                           : code;
  if (windowCode != QStringLiteral("TF13") && windowCode != QStringLiteral("TF14") &&
      windowCode != QStringLiteral("TFHLP") && windowCode != QStringLiteral("TF5")) {
    return false;
  }

  // Work windows are modal: the watch runs from the event loop of the window itself.
  auto* watch = new QTimer(&mainWindow);
  QObject::connect(watch, &QTimer::timeout, &mainWindow, [&mainWindow, watch, code, windowCode, file] {
    QWidget* shown = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(shown)) {
      // A notice the window gives as it opens: pictured beside the window, then read.
      QString noticeFile = file;
      noticeFile.replace(QStringLiteral(".png"), QStringLiteral("_notice.png"));
      box->grab().save(noticeFile, "PNG");
      box->accept();
      return;
    }
    if (!shown || shown->objectName() != windowCode) return;
    watch->stop();
    if (auto* view = qobject_cast<InstitutionView*>(shown)) editCurrentSchool(*view, mainWindow);
    if (windowCode == QStringLiteral("TF14")) startAPeriodsEntry(*shown);
    if (auto* grid = qobject_cast<AvailabilityWindow*>(shown)) {
      selectFirstLesson(*grid, code == QStringLiteral("TF5T"));
    }
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

  QTimer::singleShot(0, &mainWindow, [&mainWindow, windowCode, code] {
    if (windowCode == QStringLiteral("TF5")) {
      // Asked for the way a work window asks: the item of the view kind is current.
      store::Session& session = mainWindow.application().session();
      chooseSchoolWithClasses(session, code == QStringLiteral("TF5P"));
      session.viewKind = viewKindOfPicture(code);
      session.pendingWindow = 'A';
      mainWindow.refresh();
    } else if (windowCode == QStringLiteral("TF13")) {
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
