// What the window's progress display costs a run: the same conversion of a legacy
// folder (every kind) into fresh databases, once with a display that costs nothing
// (no label, no bar, no event processing) and once with the window's own: a
// QtStatusLabel and a QtProgressBar shown in a window, and QtWindowServices
// processing events after each row's text. Message boxes are answered at once.
//
//   bench_progress FOLDER [ROUNDS]
//
// Runs the pair ROUNDS times (default 3), alternating, and prints the best wall
// time of each and the share of the run the display costs. Qt's offscreen platform
// is used unless QT_QPA_PLATFORM says otherwise (under xvfb-run, say, it paints for
// real: QT_QPA_PLATFORM=xcb xvfb-run build/bench/bench_progress FOLDER).
#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/QtServices.h"
#include "platform/StringList.h"
#include "platform/firebird/Firebird.h"
#include "run/ClassesConversaoController.h"
#include "tests/support/TestDatabase.h"

namespace {

// The window's services, less the modal boxes a benchmark cannot answer.
class BenchServices : public QtWindowServices {
 public:
  MsgResult MessageBox(MsgKind, const UString&, MsgButtons b) override {
    return b == MsgButtons::YesNo ? MsgResult::No : MsgResult::OK;
  }
};

// No display at all: the floor of what a display can cost.
class SilentServices : public WindowServices {
 public:
  MsgResult MessageBox(MsgKind, const UString&, MsgButtons b) override {
    return b == MsgButtons::YesNo ? MsgResult::No : MsgResult::OK;
  }
  void ProcessMessages() override {}
  void ShowError(const UString&) override {}
};

double RunOnce(const std::string& folder, ProgressBar& bar, StatusLabel& label) {
  const std::string path = FreshDatabase("bench-progress");
  fb::Database db;
  ConnectTo(db, path);
  TStringList sel;
  for (const UString& k : TClassesConversaoController::Chaves()) sel.Add(k + u"=S");
  TClassesConversaoController c;
  const auto t0 = std::chrono::steady_clock::now();
  const bool ok = c.FEfetuaConversao(sel, Utf8ToU(folder), db, db.DefaultTransaction(), bar, label, u"01", false);
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  db.Close();
  std::remove(path.c_str());
  if (!ok) {
    std::fprintf(stderr, "bench_progress: the run failed\n");
    std::exit(1);
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_progress FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);

  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* label = new QtStatusLabel(&window);
  auto* bar = new QtProgressBar(&window);
  layout->addWidget(label);
  layout->addWidget(bar);
  window.resize(600, 80);
  window.show();
  QCoreApplication::processEvents();

  BenchServices windowServices;
  SilentServices silent;
  ProgressBar plainBar;
  StatusLabel plainLabel;
  double best[2] = {1e300, 1e300};
  for (int r = 0; r < rounds; ++r) {
    WindowServices::Install(&silent);
    best[0] = std::min(best[0], RunOnce(folder, plainBar, plainLabel));
    WindowServices::Install(&windowServices);
    best[1] = std::min(best[1], RunOnce(folder, *bar, *label));
  }
  WindowServices::Install(nullptr);
  std::printf("platform %s, best of %d\n", QApplication::platformName().toUtf8().constData(), rounds);
  std::printf("no display        %8.2f s\n", best[0]);
  std::printf("window's display  %8.2f s\n", best[1]);
  std::printf("display's share   %8.1f %%\n", 100.0 * (best[1] - best[0]) / best[1]);
  return 0;
}
