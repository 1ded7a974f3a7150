// Bytes that hold secrets (passwords, pre-shared keys): a fixed room, taken once, that is
// overwritten with zeros before it is given back, so that no copy of a secret outlives its use.
// It never grows, since a growing buffer would leave its earlier copies behind unwiped.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

// Overwrites `size` bytes at `data` with zeros in a way the compiler may not drop as a dead
// store, though the bytes are never read again.
inline void WipeBytes(void* data, size_t size) {
  volatile unsigned char* bytes = static_cast<volatile unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    bytes[i] = 0;
  }
}

// Wipes the whole room of a text that held a secret, beyond its end too, and empties it.
inline void WipeText(std::string* text) {
  text->resize(text->capacity());
  WipeBytes(text->data(), text->size());
  text->clear();
}

// A record of secrets (a field of them, or a platform record) wiped when it goes.
template <typename Record>
struct CWipedRecord {
  Record value{};
  CWipedRecord() = default;
  CWipedRecord(const CWipedRecord&) = delete;
  CWipedRecord& operator=(const CWipedRecord&) = delete;
  ~CWipedRecord() { WipeBytes(&value, sizeof value); }
};

class CSecretBuffer {
 public:
  explicit CSecretBuffer(size_t capacity) : bytes_(new char[capacity + 1]()), capacity_(capacity) {}
  CSecretBuffer(const CSecretBuffer&) = delete;
  CSecretBuffer& operator=(const CSecretBuffer&) = delete;
  ~CSecretBuffer() { Wipe(); }

  // Zeros the room and empties it, for a secret whose use ends before the buffer does.
  void Wipe() {
    WipeBytes(bytes_.get(), capacity_ + 1);
    size_ = 0;
  }

  // The room, of Capacity() bytes, and one more that stays zero, so that the content can be read
  // as a zero-terminated text.
  char* Data() { return bytes_.get(); }
  const char* Data() const { return bytes_.get(); }
  size_t Capacity() const { return capacity_; }
  size_t Size() const { return size_; }
  // How much of the room the content fills; at most the capacity.
  void SetSize(size_t size) { size_ = size < capacity_ ? size : capacity_; }

 private:
  std::unique_ptr<char[]> bytes_;
  size_t capacity_;
  size_t size_ = 0;
};
