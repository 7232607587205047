#include "app/InterrupcaoConsole.h"

#include <signal.h>

InterrupcaoConsole::InterrupcaoConsole() {
  sigemptyset(&sinais_);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&sinais_, s);
  pthread_sigmask(SIG_BLOCK, &sinais_, &anterior_);
  ativa_ = pthread_create(&espera_, nullptr, &InterrupcaoConsole::Espera, this) == 0;
}

InterrupcaoConsole::~InterrupcaoConsole() {
  if (ativa_) {
    fim_ = true;
    // Wakes the waiting thread with one of its own signals, sent to it alone.
    pthread_kill(espera_, SIGHUP);
    pthread_join(espera_, nullptr);
  }
  pthread_sigmask(SIG_SETMASK, &anterior_, nullptr);
}

void* InterrupcaoConsole::Espera(void* self) {
  auto* me = static_cast<InterrupcaoConsole*>(self);
  for (;;) {
    int sinal = 0;
    if (sigwait(&me->sinais_, &sinal) != 0) continue;
    if (me->fim_) return nullptr;
    me->pedido_ = true;
  }
}
