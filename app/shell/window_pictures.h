// Pictures of single windows for review (`tavrel --screenshot-window CODE --screenshot FILE`):
// the main window opens the window of the code the way a person would, the picture is taken once
// it has laid itself out, and the program ends. The week setup dialog, which only the
// availability window opens, is reachable this way too, so it can be looked at before then.
#pragma once

#include <QString>

namespace tavrel::app {

class MainWindow;

// Codes: "TF13" (the institution view on the current school), "PMGrd" (its grid popup), "TF14"
// (the week setup of the current school), "TFHLP" (the help window on the institution topic),
// "TF5", "TF5T", "TF5L" and "TF5P" (the availability window on a class, a resource, the school, and
// a class of a school of fewer than six days).
// False for an unknown code.
bool saveWindowPicture(MainWindow& mainWindow, const QString& code, const QString& file);

}  // namespace tavrel::app
