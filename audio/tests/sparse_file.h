#pragma once
// A file of any size without its bytes: the pieces a test places, zeros
// everywhere else, and a count of what was read. Lets a test (or the fuzzer)
// hand the WAV reader a header in front of gigabytes of sound.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "audio/file_io.h"

namespace orv::test {

class SparseFile : public ByteReader {
 public:
  explicit SparseFile(std::uint64_t size) : size_(size) {}
  void place(std::uint64_t at, const std::string& bytes) { pieces_[at] = bytes; }
  std::uint64_t size() const override { return size_; }
  std::size_t read(std::uint64_t offset, char* out, std::size_t count) override {
    ++reads;
    if (offset >= size_) return 0;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    std::memset(out, 0, n);
    for (const auto& [at, bytes] : pieces_) {
      const std::uint64_t from = std::max(at, offset), to = std::min(at + bytes.size(), offset + n);
      if (from < to) std::memcpy(out + (from - offset), bytes.data() + (from - at), static_cast<std::size_t>(to - from));
    }
    bytesRead += n;
    return n;
  }
  std::uint64_t bytesRead = 0;
  int reads = 0;

 private:
  std::uint64_t size_;
  std::map<std::uint64_t, std::string> pieces_;
};

}  // namespace orv::test
