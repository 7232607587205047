#pragma once
// Helpers of the window tests: a shown, active main window whose boxes are answered
// by a RecordingServices, and a way to answer a modal dialog the window opens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/Main.h"
#include "tests/support/RecordingServices.h"

inline QString Q(const UString& s) { return QString::fromStdU16String(s); }
inline bool Has(const UString& text, const UString& what) { return text.find(what) != UString::npos; }

// Runs `answer` on the modal widget as soon as the window's next modal loop is up.
template <class Dialog>
void WhenModal(std::function<void(Dialog*)> answer) {
  QTimer::singleShot(0, [answer] {
    auto* d = dynamic_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr) << "no modal dialog of the expected kind";
    answer(d);
  });
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The summary after each run is counted, not opened: nothing waits for a click.
    form.MostraResumo = [this](Resumo&) { ++resumos; };
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  // The pickers answer with `pasta` and `banco`; `escolhe`: the operator clicks both.
  void Caminhos(const std::string& pasta, const std::string& banco, bool escolhe = true) {
    form.EscolhePastaOrigem = [pasta] { return QString::fromStdString(pasta); };
    form.EscolheArquivoNorvale = [banco] { return QString::fromStdString(banco); };
    if (!escolhe) return;
    QTest::mouseClick(form.imgAbrirOrigem, Qt::LeftButton);
    QTest::mouseClick(form.imgAbrirNorvale, Qt::LeftButton);
  }
  RecordingServices& services() { return recording; }
  const std::vector<RecordedBox>& boxes() { return recording.boxes; }
  // The texts of every box shown so far, in order.
  std::vector<UString> BoxTexts() {
    std::vector<UString> texts;
    for (const RecordedBox& b : boxes()) texts.push_back(b.text);
    return texts;
  }

  RecordingServices recording;  // made before the window that shows its boxes
  TForm1 form{recording};
  int resumos = 0;  // summaries shown
};
