#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const std::string& x : extra)
      if (x.substr(0, x.find('=')) == name) replaced = true;
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

// In the child, between fork and exec: only async-signal-safe calls, and on
// failure a message on the inherited standard error and _exit(127).
[[noreturn]] void ChildFail(const char* what) {
  const char* why = std::strerror(errno);
  (void)!write(2, what, std::strlen(what));
  (void)!write(2, ": ", 2);
  (void)!write(2, why, std::strlen(why));
  (void)!write(2, "\n", 1);
  _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const ChildOptions& options) {
  if (argv.empty()) throw std::runtime_error("ChildProcess: no program");
  int outPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) throw std::runtime_error("ChildProcess: pipe failed");
  int errParent = -1, errChild = -1;
  if (!options.outputFile.empty()) {
    close(outPipe[1]);
    outPipe[1] = open(options.outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    errChild = outPipe[1] >= 0 ? dup(outPipe[1]) : -1;
    if (outPipe[1] < 0) throw std::runtime_error("ChildProcess: cannot open " + options.outputFile);
    close(outPipe[0]);
    outPipe[0] = -1;
  } else if (options.stderrOnTerminal) {
    errParent = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (errParent < 0 || grantpt(errParent) != 0 || unlockpt(errParent) != 0)
      throw std::runtime_error("ChildProcess: no pseudo-terminal");
    errChild = open(ptsname(errParent), O_RDWR | O_NOCTTY | O_CLOEXEC);
  } else {
    int errPipe[2];
    if (pipe2(errPipe, O_CLOEXEC) != 0) throw std::runtime_error("ChildProcess: pipe failed");
    errParent = errPipe[0];
    errChild = errPipe[1];
  }
  if (errChild < 0) throw std::runtime_error("ChildProcess: cannot open the terminal of standard error");

  // Everything the child needs is built before the fork.
  std::vector<std::string> envStrings = MergedEnvironment(options.env);
  std::vector<char*> args, envp;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const std::string& e : envStrings) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  const pid_t parent = getpid();

  start_ = Clock::now();
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("ChildProcess: fork failed");
  if (pid_ == 0) {
    int devnull = open("/dev/null", O_RDONLY);
    if (devnull < 0 || dup2(devnull, 0) < 0 || dup2(outPipe[1], 1) < 0 || dup2(errChild, 2) < 0) ChildFail("dup2");
    // A session of its own, out of the test's terminal and process group (the
    // Firebird server, for one, stops on SIGTERM only when it leads its session).
    setsid();
    if (options.gid >= 0 && (setgroups(0, nullptr) != 0 || setgid(static_cast<gid_t>(options.gid)) != 0))
      ChildFail("setgid");
    if (options.uid >= 0 && setuid(static_cast<uid_t>(options.uid)) != 0) ChildFail("setuid");
    // After the change of user, which clears it.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) ChildFail("prctl");
    if (getppid() != parent) _exit(127);
    execve(args[0], args.data(), envp.data());
    ChildFail(args[0]);
  }
  close(outPipe[1]);
  close(errChild);
  outFd_ = outPipe[0];
  errFd_ = errParent;
  if (outFd_ >= 0) fcntl(outFd_, F_SETFL, O_NONBLOCK);
  if (errFd_ >= 0) fcntl(errFd_, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
  if (!exited_ && pid_ > 0) {
    kill(pid_, SIGKILL);
    Reap(true);
  }
  if (outFd_ >= 0) close(outFd_);
  if (errFd_ >= 0) close(errFd_);
}

double ChildProcess::Elapsed() const { return std::chrono::duration<double>(Clock::now() - start_).count(); }

void ChildProcess::Reap(bool block) {
  if (exited_ || pid_ <= 0) return;
  int st = 0;
  pid_t r;
  do {
    r = waitpid(pid_, &st, block ? 0 : WNOHANG);
  } while (r < 0 && errno == EINTR);
  if (r == pid_) {
    exited_ = true;
    status_ = WIFEXITED(st) ? WEXITSTATUS(st) : WIFSIGNALED(st) ? -WTERMSIG(st) : -1;
  }
}

void ChildProcess::Pump(int ms) {
  pollfd fds[2];
  int n = 0;
  if (outFd_ >= 0) fds[n++] = {outFd_, POLLIN, 0};
  if (errFd_ >= 0) fds[n++] = {errFd_, POLLIN, 0};
  if (n == 0) {
    if (ms > 0) usleep(static_cast<useconds_t>(ms) * 1000);
    Reap(false);
    return;
  }
  if (poll(fds, static_cast<nfds_t>(n), ms) > 0) {
    for (int i = 0; i < n; ++i) {
      if (!fds[i].revents) continue;
      int& fd = fds[i].fd == outFd_ ? outFd_ : errFd_;
      std::string& into = fds[i].fd == outFd_ ? out_ : err_;
      char buf[65536];
      for (;;) {
        ssize_t got = read(fd, buf, sizeof buf);
        if (got > 0) {
          into.append(buf, static_cast<std::size_t>(got));
          continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) break;
        // End of a pipe, or EIO from a terminal nobody holds open any more.
        close(fd);
        fd = -1;
        break;
      }
    }
  }
  Reap(false);
}

bool ChildProcess::WaitUntil(const std::function<bool()>& done, double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (exited_ && outFd_ < 0 && errFd_ < 0) return done();
    if (Clock::now() >= deadline) return false;
    Pump(5);
  }
  return true;
}

bool ChildProcess::WaitExit(double seconds) {
  return WaitUntil([this] { return exited_ && outFd_ < 0 && errFd_ < 0; }, seconds);
}

void ChildProcess::Signal(int sig) {
  if (!exited_ && pid_ > 0) kill(pid_, sig);
}

ChildProcess& RunToEnd(ChildProcess& p, double seconds) {
  if (!p.WaitExit(seconds)) {
    p.Signal(SIGKILL);
    p.WaitExit(10);
  }
  return p;
}
