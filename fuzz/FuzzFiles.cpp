#include "fuzz/FuzzFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fuzz {

namespace {

struct Dir {
  std::string path;
  Dir() {
    const char* base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    path = std::string(base) + "/conversor-fuzz-" + std::to_string(getpid());
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~Dir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

}  // namespace

const std::string& Folder() {
  static Dir d;
  return d.path;
}

void WriteFile(const std::string& name, std::string_view bytes) {
  const std::string p = Folder() + "/" + name;
  const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::perror(p.c_str());
    std::abort();
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      std::perror(p.c_str());
      std::abort();
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

void RemoveFile(const std::string& name) { ::unlink((Folder() + "/" + name).c_str()); }

}  // namespace fuzz
