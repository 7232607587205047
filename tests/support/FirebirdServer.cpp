#include "tests/support/FirebirdServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/ChildProcess.h"

namespace fs = std::filesystem;

namespace {

const char* kServer = "/usr/sbin/firebird";

// The folder of Debian's engine files (plugins, intl, messages).
std::string EngineFolder() {
  std::error_code ec;
  for (const auto& arch : fs::directory_iterator("/usr/lib", ec)) {
    const fs::path p = arch.path() / "firebird" / "3.0";
    if (fs::exists(p / "plugins" / "libEngine12.so", ec)) return p.string();
  }
  return "";
}

std::string Isql() {
  for (const char* c : {"/usr/bin/isql-fb", "/usr/local/bin/isql-fb", "/opt/firebird/bin/isql"})
    if (access(c, X_OK) == 0) return c;
  return "";
}

int FreePort() {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  socklen_t len = sizeof a;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  close(s);
  return port;
}

bool Accepts(int port) {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return false;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  close(s);
  return ok;
}

}  // namespace

FirebirdServer::FirebirdServer() {
  if (Prepare()) Start();
}

FirebirdServer::~FirebirdServer() {
  Stop();
  if (!root_.empty()) {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
}

bool FirebirdServer::Running() const { return process_ && !process_->Exited() && why_.empty(); }

std::string FirebirdServer::Name(const std::string& path) const {
  return "localhost/" + std::to_string(port_) + ":" + path;
}

bool FirebirdServer::Prepare() {
  if (access(kServer, X_OK) != 0) {
    why_ = std::string("no Firebird server on this machine: ") + kServer +
           " is missing (Debian package firebird3.0-server, installed by scripts/install-deps.sh)";
    return false;
  }
  const std::string engine = EngineFolder();
  const std::string isql = Isql();
  if (engine.empty() || isql.empty()) {
    why_ = "the Firebird engine files or isql-fb are missing (firebird3.0-server-core, firebird3.0-utils)";
    return false;
  }
  static std::atomic<unsigned> counter{0};
  root_ = std::string(CT_BINARY_DIR) + "/tmp/fbserver-" + std::to_string(getpid()) + "-" +
          std::to_string(counter++);
  std::error_code ec;
  fs::remove_all(root_, ec);
  fs::create_directories(root_ + "/lock");
  for (const char* item : {"plugins", "lib", "UDF", "firebird.msg", "plugins.conf"})
    if (fs::exists(engine + "/" + item)) fs::create_symlink(engine + "/" + item, root_ + "/" + item, ec);
  // The character sets are refused unless their module is a file under the root
  // itself (a link to the system's copy is not taken): without it WIN1252 is unknown.
  fs::create_directories(root_ + "/intl");
  fs::copy_file(engine + "/intl/libfbintl.so", root_ + "/intl/libfbintl.so", ec);
  fs::copy_file(engine + "/intl/fbintl.conf", root_ + "/intl/fbintl.conf", ec);

  port_ = FreePort();
  if (port_ == 0) {
    why_ = "no free loopback port for a Firebird server";
    return false;
  }
  {
    std::ofstream conf(root_ + "/firebird.conf");
    conf << "RemoteServicePort = " << port_ << "\n"
         << "RemoteBindAddress = 127.0.0.1\n"
         << "SecurityDatabase = " << root_ << "/security3.fdb\n"
         << "ServerMode = Super\n";
    std::ofstream dbs(root_ + "/databases.conf");
    dbs << "security.db = " << root_ << "/security3.fdb\n";
  }
  // A security database of its own, made with the embedded engine under this root:
  // the user manager creates its tables when the first user is created.
  std::ofstream(root_ + "/security.sql") << "CREATE DATABASE '" << root_ << "/security3.fdb';\n"
                                         << "CREATE OR ALTER USER SYSDBA PASSWORD 'masterkey' USING PLUGIN Srp;\n"
                                         << "COMMIT;\n";
  ChildOptions env;
  env.env = {"FIREBIRD=" + root_, "FIREBIRD_LOCK=" + root_ + "/lock", "ISC_USER=SYSDBA"};
  ChildProcess make({isql, "-q", "-bail", "-i", root_ + "/security.sql"}, env);
  if (!make.WaitExit(60) || make.Status() != 0) {
    why_ = "cannot create the security database of a private Firebird server: " + make.Out() + make.Err();
    return false;
  }
  return true;
}

bool FirebirdServer::Start() {
  if (root_.empty() || port_ == 0) return false;
  if (Running()) return true;
  why_.clear();
  ChildOptions env;
  env.env = {"FIREBIRD=" + root_, "FIREBIRD_LOCK=" + root_ + "/lock"};
  env.outputFile = root_ + "/server.out";
  process_ = std::make_unique<ChildProcess>(std::vector<std::string>{kServer}, env);
  // Ready once it accepts on its port. A port still held by a server just killed is
  // retried by the server itself every few seconds, hence the generous bound.
  auto next = std::chrono::steady_clock::now();
  const bool up = process_->WaitUntil(
      [&] {
        if (std::chrono::steady_clock::now() < next) return false;
        next += std::chrono::milliseconds(50);
        return Accepts(port_);
      },
      30);
  if (!up) {
    std::ifstream out(root_ + "/server.out");
    std::stringstream said;
    said << out.rdbuf();
    why_ = "the private Firebird server did not start on port " + std::to_string(port_) + ": " + said.str();
    process_.reset();
    return false;
  }
  return true;
}

void FirebirdServer::Kill() {
  if (!process_) return;
  process_->Signal(SIGKILL);
  process_->WaitExit(30);
  process_.reset();
}

void FirebirdServer::Stop() {
  if (!process_) return;
  process_->Signal(SIGTERM);
  if (!process_->WaitExit(10)) Kill();
  process_.reset();
}
