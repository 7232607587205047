#pragma once
// A Firebird 3 server of the test's own: Debian's /usr/sbin/firebird (package
// firebird3.0-server) run as a child process on a free loopback port, with a root
// folder of its own under the build tree (its configuration, its security database
// holding SYSDBA/masterkey, its lock files), never the machine's service.
//
//   FirebirdServer server;
//   if (!server.Running()) GTEST_SKIP() << server.Why();
//   std::string name = server.Name(db.Path());   // "localhost/PORT:/path/db.fb"
//   server.Kill();     // SIGKILL, as a crash would
//   server.Start();    // again, same port and configuration
//
// While the server has a file open, open it through the server only (Name): the
// server holds it for itself, so an embedded connection from the test fails.
#include <memory>
#include <string>

class ChildProcess;

class FirebirdServer {
 public:
  FirebirdServer();  // prepares the root folder and starts the server
  ~FirebirdServer();  // stops it and removes the root folder
  FirebirdServer(const FirebirdServer&) = delete;
  FirebirdServer& operator=(const FirebirdServer&) = delete;

  bool Running() const;
  // Why the server could not be started (for GTEST_SKIP), empty when it runs.
  const std::string& Why() const { return why_; }
  int Port() const { return port_; }
  std::string Name(const std::string& path) const;

  // Starts it again (after Kill or Stop); returns Running().
  bool Start();
  void Kill();  // SIGKILL and wait for the end
  void Stop();  // SIGTERM, then SIGKILL if it has not ended within a few seconds

 private:
  bool Prepare();
  std::string root_;
  std::string why_;
  int port_ = 0;
  std::unique_ptr<ChildProcess> process_;
};
