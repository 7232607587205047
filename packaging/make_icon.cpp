// Writes the program's icon, drawn by the window's own picture code, as PNG files for
// the desktop's icon theme, so the menu shows what the window shows and no image file
// has to be kept in step with the code.
//
//   make_icon OUTDIR SIZE...   writes OUTDIR/SIZExSIZE/apps/conversor-tolv.png
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "app/Main.h"
#include "app/images/Pictures.h"

int main(int argc, char** argv) {
  // No display is needed to draw into a pixmap.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTDIR SIZE...\n", argv[0]);
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size < 16 || size > 1024) {
      std::fprintf(stderr, "make_icon: size out of range: %s\n", argv[i]);
      return 2;
    }
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
    const QString file = dir + QStringLiteral("/conversor-tolv.png");
    if (!QDir().mkpath(dir) || !pictures::AppIcon(size, clAccent).save(file, "PNG")) {
      std::fprintf(stderr, "make_icon: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
