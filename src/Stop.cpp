#include "Stop.h"

#include <cstdlib>

void stop(std::ostream& out, const std::string& message) {
  out << message << std::endl;
  std::exit(1);
}
