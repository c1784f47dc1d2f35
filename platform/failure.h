// A failure of a platform operation, carrying the system's error number and its description, so
// the program can end with a report that names both instead of crashing.
#pragma once

#include <stdexcept>
#include <string>

namespace bootdeck {

class Failure : public std::runtime_error {
public:
  Failure(unsigned long number, const std::string &description)
      : std::runtime_error(description), number_(number) {}
  unsigned long number() const { return number_; }

private:
  unsigned long number_;
};

} // namespace bootdeck
