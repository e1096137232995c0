#include "render/gui_application.h"

#include <QGuiApplication>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace tavrel::render {

void ensureGuiApplication() {
  if (QGuiApplication::instance()) return;
  // A report is drawn without a window, so no display is needed; a platform the caller chose
  // is respected.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt wants a private runtime folder and warns on every run when the session has none; a tool
  // run from a script or a service usually has none.
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    const std::string folder = "/tmp/runtime-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  }
  static int argc = 1;
  static char name[] = "tavrel";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}

}  // namespace tavrel::render
