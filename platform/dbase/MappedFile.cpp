#include "platform/dbase/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/Error.h"

namespace dbase {

namespace {

// The operator's words for what usually keeps a legacy file from being read.
std::string Motivo(int err) {
  if (err == EACCES || err == EPERM) return "sem permissão de leitura";
  if (err == EIO) return "erro de leitura no disco ou na rede";
  return std::strerror(err);
}

}  // namespace

MappedFile::MappedFile(const std::string& path) : path_(path) {
  // Not blocking: a named pipe in the place of a table must not wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw ESourceError("Não foi possível abrir o arquivo \"" + path + "\": " + Motivo(errno) + ".");
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    throw ESourceError("Não foi possível ler o tamanho do arquivo \"" + path + "\": " + Motivo(err) + ".");
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    throw ESourceError("O arquivo \"" + path + "\" não é um arquivo comum (é uma pasta, um dispositivo ou um pipe).");
  }
  size_ = static_cast<std::size_t>(st.st_size);
  if (size_ > 0) {
    void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) {
      const int err = errno;
      ::close(fd);
      throw ESourceError("Não foi possível mapear o arquivo \"" + path + "\": " + std::strerror(err));
    }
    data_ = static_cast<const std::uint8_t*>(p);
  }
  fd_ = fd;
  open_ = true;
}

MappedFile::~MappedFile() {
  if (data_) ::munmap(const_cast<std::uint8_t*>(data_), size_);
  if (fd_ >= 0) ::close(fd_);
}

MappedFile::MappedFile(MappedFile&& o) noexcept
    : path_(std::move(o.path_)), data_(o.data_), size_(o.size_), fd_(o.fd_), open_(o.open_), touches_(o.touches_),
      releaseEvery_(o.releaseEvery_) {
  o.data_ = nullptr;
  o.size_ = 0;
  o.fd_ = -1;
  o.open_ = false;
}

MappedFile& MappedFile::operator=(MappedFile&& o) noexcept {
  if (this != &o) {
    if (data_) ::munmap(const_cast<std::uint8_t*>(data_), size_);
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(o.path_);
    data_ = o.data_;
    size_ = o.size_;
    fd_ = o.fd_;
    open_ = o.open_;
    touches_ = o.touches_;
    releaseEvery_ = o.releaseEvery_;
    o.data_ = nullptr;
    o.size_ = 0;
    o.fd_ = -1;
    o.open_ = false;
  }
  return *this;
}

std::size_t MappedFile::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) const {
  if (offset >= size_) return 0;
  if (n > size_ - offset) n = static_cast<std::size_t>(size_ - offset);
  std::size_t done = 0;
  while (done < n) {
    const ssize_t r = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) throw ESourceError("Não foi possível ler o arquivo \"" + path_ + "\": " + std::strerror(errno));
    if (r == 0) break;  // the file shrank under us: what is left reads as missing
    done += static_cast<std::size_t>(r);
  }
  return done;
}

void MappedFile::Release() const {
  touches_ = 0;
  if (data_) ::madvise(const_cast<std::uint8_t*>(data_), size_, MADV_DONTNEED);
}

void MappedFile::AdviseSequential() const {
  if (data_) ::madvise(const_cast<std::uint8_t*>(data_), size_, MADV_SEQUENTIAL);
}

void MappedFile::AdviseRandom() const {
  if (data_) ::madvise(const_cast<std::uint8_t*>(data_), size_, MADV_RANDOM);
}

}  // namespace dbase
