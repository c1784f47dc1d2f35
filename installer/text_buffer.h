// A fixed-capacity text builder: the tool's messages are short, and a fixed buffer keeps the
// Windows builds free of the C++ library's allocating containers.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace installer {

class TextBuffer {
public:
  static constexpr std::size_t kCapacity = 8192;

  void append(const char *text);
  void append(const char *text, std::size_t length);
  // printf-style; text beyond the capacity is cut off.
  void appendf(const char *format, ...);
  void appendv(const char *format, std::va_list args);
  void clear();

  const char *c_str() const { return data_; }
  std::size_t size() const { return size_; }

private:
  char data_[kCapacity] = {};
  std::size_t size_ = 0;
};

} // namespace installer
