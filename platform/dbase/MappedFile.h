#pragma once
// A file mapped read-only into memory. The pages a reader has passed are handed
// back to the system every so often (Touch), so that the resident memory of a full
// read stays small whatever the size of the table. Bytes can also be copied out
// with a read call (ReadAt), which maps nothing: the way to visit records in an
// order of their own, where every visit would map pages of its own.
#include <cstddef>
#include <cstdint>
#include <string>

namespace dbase {

class MappedFile {
 public:
  MappedFile() = default;
  // Throws ESourceError naming the file when it cannot be opened or mapped.
  explicit MappedFile(const std::string& path);
  ~MappedFile();
  MappedFile(MappedFile&& o) noexcept;
  MappedFile& operator=(MappedFile&& o) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  bool IsOpen() const { return open_; }
  const std::uint8_t* Data() const { return data_; }
  std::size_t Size() const { return size_; }
  const std::string& Path() const { return path_; }

  // Counts one access; every releaseEvery accesses (kReleaseEvery unless set) the
  // mapped pages are released (one madvise), the data staying where it is: a later
  // access maps them again.
  void Touch() const {
    if (++touches_ >= releaseEvery_) Release();
  }
  void SetReleaseEvery(unsigned n) const { releaseEvery_ = n ? n : 1; }
  void Release() const;
  // Hints for the kernel's read-ahead.
  void AdviseSequential() const;
  void AdviseRandom() const;
  // Copies up to n bytes from the offset; returns how many the file had there.
  // Throws ESourceError when the read fails.
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) const;

  static constexpr unsigned kReleaseEvery = 4096;

 private:
  std::string path_;
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  int fd_ = -1;
  bool open_ = false;
  mutable unsigned touches_ = 0;
  mutable unsigned releaseEvery_ = kReleaseEvery;
};

}  // namespace dbase
