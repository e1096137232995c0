// The pictures of the availability window's toolbar (the Show, Make, Week Setup, Edit and
// Statistics commands), drawn on the shared 32 × 32 grid of the picture set.
#pragma once

class QPainter;

namespace tavrel::app {

// Draws picture `number` when it is one of the availability window's; false otherwise.
bool drawGridPicture(QPainter& painter, int number);

}  // namespace tavrel::app
