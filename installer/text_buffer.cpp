#include "installer/text_buffer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace installer {

void TextBuffer::append(const char *text) {
  append(text, std::strlen(text));
}

void TextBuffer::append(const char *text, std::size_t length) {
  const std::size_t room = kCapacity - 1 - size_;
  const std::size_t taken = length < room ? length : room;
  std::memcpy(data_ + size_, text, taken);
  size_ += taken;
  data_[size_] = '\0';
}

void TextBuffer::appendf(const char *format, ...) {
  va_list args;
  va_start(args, format);
  const int written = std::vsnprintf(data_ + size_, kCapacity - size_, format, args);
  va_end(args);
  if (written > 0) {
    const std::size_t room = kCapacity - 1 - size_;
    size_ += static_cast<std::size_t>(written) < room ? static_cast<std::size_t>(written) : room;
  }
}

void TextBuffer::clear() {
  size_ = 0;
  data_[0] = '\0';
}

} // namespace installer
