// The program: the main window and its event loop.
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>

#include "app/Main.h"
#include "app/QtServices.h"
#include "app/images/Pictures.h"

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  // Qt takes the machine's locale for the C library; numbers written by the C
  // library must keep the point, as in the console program.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setStyle(QStringLiteral("Fusion"));
  // The program speaks Portuguese whatever the machine's language: Qt's own texts
  // (file dialogs, the buttons of the boxes) too. Without the translations
  // installed they stay in English; nothing else depends on them.
  QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
  QTranslator qt;
  if (qt.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
              QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qt);
  // The same icon the desktop menu shows; the desktop file's name lets a Wayland
  // session tie the window to that menu entry.
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(pictures::AppIcon(size, clAccent));
  QApplication::setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(QStringLiteral("conversor-tolv"));

  QtWindowServices services;
  app.SetServicos(&services);
  TForm1 form(services);
  form.show();
  const int rc = app.exec();
  app.SetServicos(nullptr);
  return rc;
}
