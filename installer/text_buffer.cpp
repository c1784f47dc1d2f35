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
  appendv(format, args);
  va_end(args);
}

void TextBuffer::appendv(const char *format, std::va_list args) {
  const std::size_t room = kCapacity - 1 - size_;
#ifdef _WIN32
  // The C runtime's own formatter: the C++ library's replacement would add a third to the size
  // of the tool. It returns -1 when the text does not fit.
  const int written = _vsnprintf(data_ + size_, room, format, args);
#else
  const int written = std::vsnprintf(data_ + size_, room + 1, format, args);
#endif
  size_ += written < 0 || static_cast<std::size_t>(written) > room
               ? room
               : static_cast<std::size_t>(written);
  data_[size_] = '\0';
}

void TextBuffer::clear() {
  size_ = 0;
  data_[0] = '\0';
}

} // namespace installer
