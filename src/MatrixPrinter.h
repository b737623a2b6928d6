#ifndef TARVEX_MATRIX_PRINTER_H
#define TARVEX_MATRIX_PRINTER_H

// Text output of integer vectors and matrices: the plain dumps of MatrixPrinter
// on standard output, and the stream formats used by every trace and message
// that shows a matrix.

#include <iosfwd>
#include <list>
#include <vector>

class MatrixPrinter {
public:
  // Each value followed by two blanks, then a line end, on standard output.
  static void print_vec(const std::vector<int>& v);
  // print_vec of each row.
  static void print_vec_vec(const std::vector<std::vector<int>>& m);
  // print_vec of each vector.
  static void print_list_vec(const std::list<std::vector<int>>& l);
  // A line "--", each matrix followed by an empty line, then a line "--".
  static void print_vec_vec_vec(const std::vector<std::vector<std::vector<int>>>& v);
};

// The size and a line end, then each value on a line of its own.
std::ostream& operator<<(std::ostream& out, const std::vector<int>& v);

// "<rows> <columns>" (the first row's length, 0 without rows) and a line end,
// then each row as its values each followed by two blanks, and a line end.
std::ostream& operator<<(std::ostream& out, const std::vector<std::vector<int>>& m);

#endif
