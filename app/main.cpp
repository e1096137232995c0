// The desktop program: the About box as a splash while the main window and the data come up,
// then the event loop until the main window closes.
//
//   tavrel [--home DIR] [--sample] [--screenshot FILE [--screenshot-window CODE]]
//
// --home DIR                 the program folder holding Data/ and Samples/ (default: the executable's folder)
// --sample                   switch to the sample data set once the program has started
// --screenshot FILE          save a picture of the main window once it is up, then quit (for reviews)
// --screenshot-window CODE   picture the window of that code instead (TF13, PMGrd, TF14, TFHLP)
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTimer>

#include "app/ports/message_box_prompter.h"
#include "app/shell/about_box.h"
#include "app/shell/main_window.h"
#include "app/shell/pictures.h"
#include "app/shell/window_pictures.h"

namespace {

struct Options {
  QDir programFolder;
  bool sample = false;
  QString screenshot;
  QString screenshotWindow;
};

Options parseOptions(const QApplication& application) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Tavrel: weekly timetables of an institution's schools."));
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Program folder holding Data and Samples."),
                          QStringLiteral("DIR"));
  QCommandLineOption sample(QStringLiteral("sample"),
                            QStringLiteral("Load the sample data set after start."));
  QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                QStringLiteral("Save a PNG of the main window to FILE and quit."),
                                QStringLiteral("FILE"));
  QCommandLineOption screenshotWindow(QStringLiteral("screenshot-window"),
                                      QStringLiteral("Picture the window CODE instead of the main window."),
                                      QStringLiteral("CODE"));
  parser.addOptions({home, sample, screenshot, screenshotWindow});
  parser.process(application);

  Options options;
  options.programFolder =
      QDir(parser.isSet(home) ? parser.value(home) : QCoreApplication::applicationDirPath()).absolutePath();
  options.sample = parser.isSet(sample);
  options.screenshot = parser.value(screenshot);
  options.screenshotWindow = parser.value(screenshotWindow);
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tavrel"));
  QApplication::setApplicationVersion(QStringLiteral(TAVREL_VERSION));
  QApplication::setWindowIcon(tavrel::app::picture(tavrel::app::kPictureSchoolView));
  const Options options = parseOptions(application);

  tavrel::app::AboutBox splash(tavrel::app::AboutBox::Use::Splash);
  splash.show();
  QApplication::processEvents();

  tavrel::app::MessageBoxPrompter prompter;
  tavrel::app::MainWindow window(options.programFolder, prompter);
  // The sample data set is made from the exchange files shipped beside the program.
  window.application().setSampleSources(
      (QCoreApplication::applicationDirPath() + QStringLiteral("/samples")).toStdString());
  if (!window.start()) return 1;
  splash.close();

  // Work that waits for the first activation: the data set asked for, then the picture.
  bool firstActivation = true;
  QObject::connect(&window, &tavrel::app::MainWindow::activated, &window, [&] {
    if (!firstActivation) return;
    firstActivation = false;
    if (options.sample) window.loadSample();
    if (!options.screenshot.isEmpty() && !options.screenshotWindow.isEmpty()) {
      if (!tavrel::app::saveWindowPicture(window, options.screenshotWindow, options.screenshot)) {
        QCoreApplication::exit(2);
      }
    } else if (!options.screenshot.isEmpty()) {
      // One more turn of the event loop lets the window lay out and paint what it now shows.
      QTimer::singleShot(200, &window, [&] {
        const bool saved = window.grab().save(options.screenshot, "PNG");
        QCoreApplication::exit(saved ? 0 : 2);
      });
    }
  });

  if (options.screenshot.isEmpty()) {
    window.showMaximized();
  } else {
    window.resize(1024, 768);  // the screen size the windows are laid out for
    window.show();
  }
  return application.exec();
}
