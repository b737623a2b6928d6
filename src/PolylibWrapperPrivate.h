#ifndef TARVEX_POLYLIB_WRAPPER_PRIVATE_H
#define TARVEX_POLYLIB_WRAPPER_PRIVATE_H

// The PolyLib-typed half of the PolyLib bridge. PolyLib's headers define
// Polyhedron, Matrix, Vector and many macros that clash with the system's own
// names, so only PolylibWrapper.cpp and its unit test include this header.

#include <map>
#include <vector>

#include "PolylibWrapper.h"

// PolyLib's exception functions (used by its CATCH and UNCATCH macros) are
// declared without C linkage of their own.
extern "C" {
#include <polylib/polylib64.h>
}

// PolyLib's function-like macro value_compare breaks the member class of the
// same name in <map> when <map> comes after it; the adapter does not use it.
#undef value_compare

// New PolyLib matrices (the caller frees them with Matrix_Free); every row of
// m must have the expected width, and an empty m gives a matrix of no rows.
// Full registry width:
Matrix* from_vec_vec(const std::vector<std::vector<int>>& m);
// Width nb_counters + nb_parameters + 2:
Matrix* from_vec_vec(const std::vector<std::vector<int>>& m, int nb_counters, int nb_parameters);
// Width nb_active_counters + the registry's parameters + 2:
Matrix* from_vec_vec(const std::vector<std::vector<int>>& m, int nb_active_counters);
// Width of m's first row; an empty m stops.
Matrix* from_vec_vec_raw(const std::vector<std::vector<int>>& m);

// The entries of a PolyLib matrix (kept by the caller) as ints.
std::vector<std::vector<int>> to_vec_vec(const Matrix* m);

// Deep copies into malloc'ed records owned by the caller.
YEB_evalue* yebify_evalue(const evalue* e);
YEB_enode* yebify_enode(const enode* n);

// Each piece of e on standard output: its validity domain and its
// quasi-polynomial written with the parameter names.
void print_enumeration(Enumeration* e, const char** names);

#endif
