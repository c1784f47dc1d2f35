// A failure of a platform operation, carrying the system's error number and its description, and
// the file it concerns if any, so the program can end with a report that names them instead of
// crashing.
#pragma once

#include <stdexcept>
#include <string>

namespace bootdeck {

class Failure : public std::runtime_error {
public:
  Failure(unsigned long number, const std::string &description, const std::string &file = {})
      : std::runtime_error(description), number_(number), file_(file) {}
  unsigned long number() const { return number_; }
  const std::string &file() const { return file_; }

private:
  unsigned long number_;
  std::string file_;
};

} // namespace bootdeck
