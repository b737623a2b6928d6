#include "ValueOutOfRange.h"

#include <climits>

ValueOutOfRange::ValueOutOfRange(const std::string& value)
    : std::runtime_error("the value " + value + " is too large for an int"), value(value) {}

PolylibOverflow::PolylibOverflow(const std::string& call)
    : std::runtime_error("PolyLib's 64-bit arithmetic overflowed in " + call) {}

int checked_int(long long value) {
  if (value < INT_MIN || value > INT_MAX) throw ValueOutOfRange(std::to_string(value));
  return static_cast<int>(value);
}

std::string out_of_range_message(const std::string& location, const std::exception& e) {
  std::string where = location.empty() ? "" : location + ": ";
  if (const auto* v = dynamic_cast<const ValueOutOfRange*>(&e))
    return where + "error: the value " + v->value +
           " is too large for the bounds and conditions on this line: the constraint rows hold int values only";
  return where + "error: the bounds and conditions on this line need values beyond 64 bits: " + e.what();
}
