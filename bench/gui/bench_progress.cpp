// What the window's progress display costs a run: the same conversion of a legacy
// folder (every kind) into fresh databases, once with a display that costs nothing
// (no label, no bar, no event processing) and once with the window's own: a
// QtStatusLabel, a QtProgressBar and the overall line under them shown in a window,
// and QtWindowServices processing events after each row's text. Message boxes are
// answered at once.
//
//   bench_progress FOLDER [ROUNDS]
//
// Runs the pair ROUNDS times (default 4), alternating which goes first, and prints the best wall and
// CPU time of each and the share of the run the display costs. Qt's offscreen platform
// is used unless QT_QPA_PLATFORM says otherwise (under xvfb-run, say, it paints for
// real: QT_QPA_PLATFORM=xcb xvfb-run build/bench/bench_progress FOLDER).
#include <sys/resource.h>

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
#include "converters/Tipos.h"
#include "platform/dbase/DbfEngine.h"
#include "run/ClassesConversaoController.h"
#include "tests/support/TestDatabase.h"

namespace {

struct Cost {
  double wall = 1e300, cpu = 1e300;
};

double CpuSeconds() {
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
         static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

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

// One run; keeps the best wall and the best CPU seconds (this process: the embedded
// engine works in it) in `best`. CPU time is the steadier one on a busy machine.
void RunOnce(const std::string& folder, WindowServices& ui, ProgressBar& bar, StatusLabel& label, Cost& best) {
  const std::string path = FreshDatabase("bench-progress");
  fb::Database db;
  ConnectTo(db, path);
  TStringList sel;
  for (const Tipo& t : Tipos()) sel.Add(UString(t.chave) + u"=S");
  dbase::Engine fonte;
  RunReport report;
  TClassesConversaoController c(ui, fonte, report);
  const auto t0 = std::chrono::steady_clock::now();
  const double c0 = CpuSeconds();
  const bool ok = c.FEfetuaConversao(sel, Utf8ToU(folder), db, db.DefaultTransaction(), bar, label, u"01", false);
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const double cpu = CpuSeconds() - c0;
  db.Close();
  std::remove(path.c_str());
  if (!ok) {
    std::fprintf(stderr, "bench_progress: the run failed\n");
    std::exit(1);
  }
  best.wall = std::min(best.wall, s);
  best.cpu = std::min(best.cpu, cpu);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_progress FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 4;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);

  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* label = new QtStatusLabel(&window);
  auto* bar = new QtProgressBar(&window);
  auto* linha = new QtLinhaGeral(*bar, *label, &window);
  linha->EtapasDaConversao = [] {
    std::vector<Andamento::Etapa> etapas;
    for (const Tipo& t : Tipos()) etapas.push_back({t.TextoProgresso(), -1});
    return etapas;
  };
  layout->addWidget(label);
  layout->addWidget(bar);
  layout->addWidget(linha);
  window.resize(600, 100);
  window.show();
  QCoreApplication::processEvents();

  BenchServices windowServices;
  SilentServices silent;
  ProgressBar plainBar;
  StatusLabel plainLabel;
  Cost best[2];
  // Which of the pair runs first alternates: the second run of a pair finds the disk
  // still busy with the first one's files.
  for (int r = 0; r < rounds; ++r) {
    for (int k = 0; k < 2; ++k) {
      if ((k + r) % 2 == 0) {
        RunOnce(folder, silent, plainBar, plainLabel, best[0]);
      } else {
        RunOnce(folder, windowServices, *bar, *label, best[1]);
      }
    }
  }
  std::printf("platform %s, best of %d          wall s    CPU s\n", QApplication::platformName().toUtf8().constData(),
              rounds);
  std::printf("no display                    %8.2f %8.2f\n", best[0].wall, best[0].cpu);
  std::printf("window's display              %8.2f %8.2f\n", best[1].wall, best[1].cpu);
  std::printf("display's share of the run    %7.1f%% %7.1f%%\n", 100.0 * (best[1].wall - best[0].wall) / best[1].wall,
              100.0 * (best[1].cpu - best[0].cpu) / best[1].cpu);
  return 0;
}
