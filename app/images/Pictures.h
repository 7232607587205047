#pragma once
// The window's pictures, drawn at start-up so that no image file has to travel with
// the program. White line art on a transparent ground: the panels behind them give
// the accent or focus colour.
#include <QPixmap>

namespace pictures {

QPixmap Logo(int width, int height);        // header: legacy tables into a database
QPixmap Emblem(int width, int height);      // header, right: a large faint database
QPixmap FolderOpen(int width, int height);  // the two path pickers
QPixmap Convert(int width, int height);     // starts a run
QPixmap Exit(int width, int height);        // closes the window

}  // namespace pictures
