// Helpers of the solver tests: building matrices, printing answers to
// strings, checking the shape of answer trees and evaluating them.
#ifndef TARVEX_TESTS_PIP_TEST_UTIL_H
#define TARVEX_TESTS_PIP_TEST_UTIL_H

#include <string>
#include <vector>

#include "pip.h"

using Rows = std::vector<std::vector<long long>>;

// New matrix of the given width holding rows (each of that width); caller
// frees it with pip_matrix_free.
PipMatrix *make_matrix(unsigned cols, const Rows &rows);

// Options from pip_options_init with the given fields; caller frees them.
PipOptions *make_options(int nq, int maximize, int urs_parms, int urs_unknowns,
                         int simplify = 1);

// What pip_quast_print writes for quast at indent.
std::string quast_text(PipQuast *quast, int indent = 0);
std::string vector_text(PipVector *vector);
std::string matrix_text(PipMatrix *matrix);

// pip_solve on rows (width nn + np + 2) and context rows (width np + 2),
// printed at indent -1 (one element per line, no indentation); "void\n" for
// NULL. The inputs and the answer are freed.
std::string solve_text(int np, const Rows &problem, const Rows &context,
                       const PipOptions &options);

// A fraction num/den; den 0 marks an unbounded value.
struct Value {
  long long num;
  long long den;
  bool operator==(const Value &o) const { return num == o.num && den == o.den; }
};

// Where an answer leads at one parameter point.
struct Evaluation {
  bool nil = true;              // no leaf reached
  const PipQuast *leaf = nullptr;
  std::vector<Value> values;    // one per list cell with a vector (reduced)
  bool null_vector_cell = false;  // the single cell of a zero-unknown leaf
};

// The leaf of quast (borrowed) reached at the parameter point, its values
// reduced to lowest terms (markers stay 0/0).
Evaluation evaluate(const PipQuast *quast, const std::vector<long long> &params);

// Every violation of the answer shape, one per line ("" when none): node
// kinds, father pointers, list length nn, vector lengths, ranks,
// denominators, integer denominators 1, reduced rationals, no new parameter
// in rational mode, every test's then-subtree holding a leaf, markers
// exactly from unknown `solved` on.
std::string shape_violations(const PipQuast *quast, int np, int nn, bool integer,
                             int solved);

// Every leaf of quast, in tree order.
std::vector<const PipQuast *> leaves(const PipQuast *quast);

#endif
