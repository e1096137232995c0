// F1 in a window opens the help window on that window's topic ("FM" for the main window, "F" and
// the window's number for the others). Every window installs the key the same way, with the
// function the main window hands out, so the help window stays one window of the program.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace tavrel::app {

using ShowHelp = std::function<void(const std::string& topicCode)>;

void addHelpKey(QWidget& window, std::string topicCode, ShowHelp showHelp);

}  // namespace tavrel::app
