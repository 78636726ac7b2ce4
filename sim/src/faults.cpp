#include "sim/faults.h"

#include <stdexcept>

namespace sim {

void Faults::Fail(const std::string& function) {
  if (!Declared(function))
    throw std::invalid_argument("no game function that can be made to fail: " + function);
  failing_.insert(function);
}

void Faults::RaiseIfFailing(const char* function) const {
  if (!failing_.empty() && failing_.count(function) != 0)
    throw std::runtime_error(std::string(function) + " failed");
}

}  // namespace sim
