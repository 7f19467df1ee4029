#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Text sinks of the preprocessor: its output and its messages go through these.
class TextOutputStream {
 public:
  // Appends length bytes of text (which may hold any byte, zero included).
  virtual void Write(const char* text, std::size_t length) = 0;
  virtual ~TextOutputStream() = default;
  // Nothing calls this yet; a sink that buffers can flush here. True when all is well.
  virtual bool Flush() { return true; }

  void Write(const char* zeroTerminated);
  void Write(std::string_view text) { Write(text.data(), text.size()); }
  void WriteInt(long long value);
};

// Discards everything (device builds do not show preprocessor messages).
class NullOutputStream : public TextOutputStream {
 public:
  using TextOutputStream::Write;
  void Write(const char*, std::size_t) override {}
};

// Collects everything written into one growable buffer.
class BufferOutputStream : public TextOutputStream {
 public:
  using TextOutputStream::Write;
  void Write(const char* text, std::size_t length) override { buffer_.append(text, length); }

  const std::string& Text() const { return buffer_; }
  // The collected bytes, followed by a terminating zero that size() does not count.
  const char* CStr() const { return buffer_.c_str(); }
  std::size_t Size() const { return buffer_.size(); }
  std::string Take() { return std::move(buffer_); }
  void Clear() { buffer_.clear(); }

 private:
  std::string buffer_;
};
