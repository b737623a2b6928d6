#ifndef TARVEX_VALUE_OUT_OF_RANGE_H
#define TARVEX_VALUE_OUT_OF_RANGE_H

#include <stdexcept>
#include <string>

// A value that a record of int entries cannot hold: the model's constraint
// rows and the matrices that cross the PolyLib and isl bridges are int, while
// PolyLib, isl and the tiling library compute with wider values. Thrown where
// the value is narrowed, caught where the statement it comes from is known,
// so that the refusal can name the input line.
class ValueOutOfRange : public std::runtime_error {
public:
  // value: the decimal text of the value, which may exceed 64 bits.
  explicit ValueOutOfRange(const std::string& value);
  const std::string value;
};

// A PolyLib computation whose 64-bit arithmetic overflowed: PolyLib's own
// exception, caught at the call and turned into this one.
class PolylibOverflow : public std::runtime_error {
public:
  explicit PolylibOverflow(const std::string& call);
};

// value as an int; a value outside the int range throws ValueOutOfRange.
int checked_int(long long value);

// The refusal of an input whose statement at `location` ("file:line") needs
// a value beyond the int constraint rows (or beyond PolyLib's 64 bits), in
// the form of the compiler's other input errors.
std::string out_of_range_message(const std::string& location, const std::exception& e);

#endif
