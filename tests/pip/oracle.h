// Reference answers computed without isl: brute-force enumeration for
// integer optima, exact Fourier-Motzkin elimination for rational optima and
// for the recession cone.
#ifndef TARVEX_TESTS_PIP_ORACLE_H
#define TARVEX_TESTS_PIP_ORACLE_H

#include <vector>

#include "pip_test_util.h"

// A problem with its parameters fixed: rows [flag | unknowns | constant].
struct FixedProblem {
  int nn;
  Rows rows;
  bool free_unknowns;  // else every unknown >= 0
  bool maximize;
};

// rows (width nn + np + 2) at the parameter point params.
FixedProblem fix_parameters(const Rows &rows, int nn, const std::vector<long long> &params,
                            bool free_unknowns, bool maximize);

// Whether the context rows (width np + 2) and signs hold at params.
bool in_context(const Rows &context, const std::vector<long long> &params, bool urs_parms);

// The first unknown whose optimum is unbounded, from the rows' recession
// cone (rows width nn + np + 2); nn when bounded.
int first_unbounded(const Rows &rows, int nn, bool free_unknowns, bool maximize);

// Lexicographic integer optimum of the first `solved` unknowns, every
// unknown being bounded on both sides; false when there is no integer point.
bool integer_optimum(const FixedProblem &p, int solved, std::vector<long long> *best);

// Exact rational lexicographic optimum of the first `solved` unknowns
// (bounded in the optimisation direction); false when infeasible.
bool rational_optimum(const FixedProblem &p, int solved, std::vector<Value> *best);

#endif
