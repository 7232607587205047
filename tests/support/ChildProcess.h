#pragma once
// A program a test starts as a process of its own: its output read as it arrives,
// a signal sent at the moment the test chooses, and every wait bounded, so that a
// program that hangs fails the test instead of stopping the suite.
//
//   ChildProcess p({"/path/conversor-tolv-cli", "--origem", dir, ...});
//   p.WaitUntil([&] { return p.Err().find("Registro 1 ") != std::string::npos; }, 30);
//   p.Signal(SIGKILL);
//   p.WaitExit(10);   // false: still running after 10 s
//   p.Status();       // exit status, or minus the signal that ended it
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

struct ChildOptions {
  std::vector<std::string> env;   // "NAME=value", added to (or replacing in) the test's environment
  bool stderrOnTerminal = false;  // standard error is a pseudo-terminal, as when an operator watches
  int uid = -1;                   // run as this user and group, without supplementary groups
  int gid = -1;
  // Standard output and error go to this file instead of the test, for a program
  // that runs long while nobody reads it (a server): a full pipe would stop it.
  std::string outputFile;
};

class ChildProcess {
 public:
  // Starts argv[0] (a path) with standard input from /dev/null. The child is killed
  // when the test process ends, so a server started by a failed test does not
  // outlive it. Throws std::runtime_error when it cannot be started.
  explicit ChildProcess(const std::vector<std::string>& argv, const ChildOptions& options = {});
  ~ChildProcess();  // kills (SIGKILL) and reaps a child still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  // Seconds since the start.
  double Elapsed() const;

  // Reads what the child has written, waiting up to `ms` for something to arrive.
  void Pump(int ms);
  // Reads until `done()` holds, the child has ended, or `seconds` have passed;
  // returns done().
  bool WaitUntil(const std::function<bool()>& done, double seconds);
  // Reads until the child has ended and its output is closed; false when it is
  // still running after `seconds`.
  bool WaitExit(double seconds);
  void Signal(int sig);

  bool Exited() const { return exited_; }
  // The exit status; minus the signal number when a signal ended it.
  int Status() const { return status_; }
  const std::string& Out() const { return out_; }
  const std::string& Err() const { return err_; }

 private:
  void Reap(bool block);
  pid_t pid_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
  bool exited_ = false;
  int status_ = -1;
  std::string out_, err_;
  std::chrono::steady_clock::time_point start_;
};

// Runs a program to its end (at most `seconds`) and returns it; the caller reads
// Status(), Out() and Err().
ChildProcess& RunToEnd(ChildProcess& p, double seconds);
