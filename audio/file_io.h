#pragma once
// A file's bytes read where they are needed and a new file written a block
// at a time, so no file is ever held whole in memory; with in-memory
// versions for what is already a string.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace orv {

class ByteReader {
 public:
  virtual ~ByteReader() = default;
  virtual std::uint64_t size() const = 0;
  // Up to `count` bytes from `offset` into `out`; fewer only past the end or
  // when the system fails to read.
  virtual std::size_t read(std::uint64_t offset, char* out, std::size_t count) = 0;
};

class FileWriter {
 public:
  // Without commit() the new file is removed and the old one, if any, stays.
  virtual ~FileWriter() = default;
  virtual bool append(const char* bytes, std::size_t count) = 0;
  // Over bytes already appended (a header's sizes once they are known).
  virtual bool writeAt(std::uint64_t offset, const char* bytes, std::size_t count) = 0;
  // Flushed, then put in place of the file it was made for.
  virtual bool commit() = 0;
};

class MemoryReader : public ByteReader {
 public:
  explicit MemoryReader(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  std::size_t read(std::uint64_t offset, char* out, std::size_t count) override {
    if (offset >= bytes_.size()) return 0;
    const std::size_t n = std::min<std::uint64_t>(count, bytes_.size() - offset);
    std::memcpy(out, bytes_.data() + offset, n);
    return n;
  }

 private:
  std::string_view bytes_;
};

class MemoryWriter : public FileWriter {
 public:
  bool append(const char* b, std::size_t n) override {
    bytes.append(b, n);
    return true;
  }
  bool writeAt(std::uint64_t offset, const char* b, std::size_t n) override {
    if (offset > bytes.size() || n > bytes.size() - offset) return false;
    bytes.replace(static_cast<std::size_t>(offset), n, b, n);
    return true;
  }
  bool commit() override {
    committed = true;
    return true;
  }
  std::string bytes;
  bool committed = false;
};

}  // namespace orv
