#ifndef TARVEX_ZIL_WRAPPER_CHECKS_H
#define TARVEX_ZIL_WRAPPER_CHECKS_H

// The argument checks that the tilings of the bridge to the tiling library
// share, run before anything is converted, printed or passed to the
// library: the library would abort on an assertion, or tile something else
// than asked without a word. Internal to the ZILWrapper sources.
//
// Each check stops the run, on the first fault, with `who` (the operation's
// name followed by ": ") and the reason on standard error. Nothing is kept
// or freed.

#include <map>
#include <set>
#include <string>
#include <vector>

class IndexFunction;
class Polyhedron;

namespace ZILWrapper {

// A shape over `counters` with one parameter (the block size) that bounds
// every counter, and a lattice of n + 1 rows of n values (n counters): the
// basis rows, independent, then a row of positive denominators. The tiled
// code runs only with block sizes that are multiples of the least common
// multiple of the denominators (in lowest terms), and the shape must tile
// the space with the lattice at every such block size (checked on a sample
// of them).
void check_shape_and_lattice(Polyhedron* shape, const std::set<int>& counters,
                             const std::vector<std::vector<int>>& lattice, const std::string& who);

// `expected` ratios (one per hyperplane or output, as `what` names them),
// each at least 1: the library asserts it and reads exactly that many.
void check_ratios(const std::vector<int>& ratios, size_t expected, const std::string& what, const std::string& who);
// The ratio of each counter of `counters`, in order; a counter without one
// stops the run.
std::vector<int> ratios_of(const std::map<int, int>& scale, const std::vector<int>& counters, const std::string& who);
// `f`, named `what` in the message, uses no counter outside `counters` and
// no parameter outside `parameters`: the conversions would drop its
// coefficient and tile another function.
void check_columns(IndexFunction* f, const std::vector<int>& counters, const std::vector<int>& parameters,
                   const std::string& what, const std::string& who);
// One hyperplane per counter of `counters`, whose coefficients on them form
// a matrix of determinant 1 or -1: the changes of basis need its integer
// inverse.
void check_change_of_basis(IndexFunction* hyperplanes, const std::vector<int>& counters, const std::string& who);

}  // namespace ZILWrapper

#endif
