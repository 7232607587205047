#pragma once
// Ctrl-C, SIGTERM and SIGHUP during a console run. They must not end the program
// under the run: the embedded Firebird engine would be shut down by its own
// handler and the operator told the server connection fell. While this object
// lives the three signals are blocked in every thread the program starts from
// then on (so it must be made before the target is opened), and one thread of its
// own takes them and only raises the run's request to stop; the run then rolls
// back at its next row and says so.
#include <pthread.h>

#include <atomic>

class InterrupcaoConsole {
 public:
  InterrupcaoConsole();
  ~InterrupcaoConsole();
  InterrupcaoConsole(const InterrupcaoConsole&) = delete;
  InterrupcaoConsole& operator=(const InterrupcaoConsole&) = delete;

  // Raised by the first of the signals.
  const std::atomic<bool>& Pedido() const { return pedido_; }
  bool Pedida() const { return pedido_.load(); }

 private:
  static void* Espera(void* self);

  std::atomic<bool> pedido_{false};
  std::atomic<bool> fim_{false};
  sigset_t sinais_;
  sigset_t anterior_;
  pthread_t espera_;
  bool ativa_ = false;
};
