#include "GeneratedName.h"

std::string first_word(const std::ostringstream& composed) {
  std::istringstream in(composed.str());
  std::string word;
  in >> word;
  return word;
}
