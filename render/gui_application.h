// The Qt GUI application that fonts and painting need.
#pragma once

namespace tavrel::render {

// Starts a QGuiApplication on the offscreen platform when the process has none yet; it lives
// until the process ends. The desktop program's own application is used when there is one.
void ensureGuiApplication();

}  // namespace tavrel::render
