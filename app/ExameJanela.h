#pragma once
// The inspection of the source folder in a dialog: what each converter would find
// there, the same text the console prints, before any database is chosen.
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

class TExameDialog : public QDialog {
 public:
  // `texto`: the inspection, as DescreveExame gives it; `ok`: every table found
  // could be read in full.
  TExameDialog(const QString& texto, bool ok, QWidget* parent = nullptr);

  QPlainTextEdit* memoExame;
  QPushButton* btnFechar;
};
