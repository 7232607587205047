#pragma once
// The window's pictures, drawn at start-up so that no image file has to travel with
// the program. White line art on a transparent ground: the panels behind them give
// the accent or focus colour.
#include <QColor>
#include <QPixmap>

namespace pictures {

QPixmap Logo(int width, int height);        // header: legacy tables into a database
QPixmap Emblem(int width, int height);      // header, right: a large faint database
QPixmap FolderOpen(int width, int height);  // the two path pickers
QPixmap Convert(int width, int height);     // starts a run
QPixmap Exit(int width, int height);        // closes the window

// The program's icon (title bar, task bar, desktop menu): the header picture on a
// rounded tile of the given colour, since white lines alone vanish on a light desktop.
QPixmap AppIcon(int size, const QColor& tile);

}  // namespace pictures
