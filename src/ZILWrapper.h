#ifndef TARVEX_ZIL_WRAPPER_H
#define TARVEX_ZIL_WRAPPER_H

// The bridge between the model (polyhedra, index functions, the counter and
// parameter registries) and the tiling library, whose records are integer
// matrices with unnamed columns. Two process-wide lists tie every column to
// a registry rank; the converters read them as they stand at the time of the
// call, so a tiling sets them before each conversion and nothing here is
// reentrant.
//
// Ownership: converters towards the library return records the caller frees
// (freePolyhedron, freeAffineFunction, free or freeMatrix); converters back
// return new model objects owned by the caller and leave the record as it
// is. Every other function returns new objects owned by the caller and
// leaves its arguments unchanged.
//
// Failures: a message on standard error and exit status 1.

#include <list>
#include <map>
#include <set>
#include <utility>
#include <vector>

class Expression;
class IndexFunction;
class Polyhedron;
struct polyhedronZIL;
struct affFuncZIL;

namespace ZILWrapper {

typedef std::vector<std::vector<int>> Rows;
// Parameter rank -> (outer parameter rank, inner parameter rank).
typedef std::map<int, std::pair<int, int>> split_map_t;
// (counter rank -> (outer, inner) counter ranks, parameter splits).
typedef std::pair<std::map<int, std::pair<int, int>>, split_map_t> tiling_t;
// ((outer lattice counters in creation order, counter -> inner counter),
// parameter splits).
typedef std::pair<std::pair<std::vector<int>, std::map<int, int>>, split_map_t> general_tiling_t;

// Column order: the counter, respectively parameter, rank of each counter,
// respectively parameter, column.
extern std::vector<int> active_counters;
extern std::vector<int> active_parameters;

// ---- towards the library ----
// Every row with flag 1 (an equality gives e >= 0 and -e >= 0).
polyhedronZIL* to_polyhedronZIL(Polyhedron* p);
affFuncZIL* to_affFuncZIL(IndexFunction* f);
affFuncZIL* to_affFuncZIL(const Rows& m);
affFuncZIL* to_affFuncZIL(const Rows& m, int nb_counters, int nb_parameters);
// malloc'ed rows as wide as row 0; no row gives an array of size zero.
long long** to_int64(const Rows& m);
long long* to_int64(const std::vector<int>& v);

// ---- back to the model ----
// Values outside the int range stop the run. A record without any row is
// the universe, whatever its counts.
Polyhedron* to_polyhedron(const polyhedronZIL* record);
IndexFunction* to_index_function(const affFuncZIL* record);
// (coefficient rows, divisors).
std::pair<Rows, std::vector<int>> to_vec_vec(const affFuncZIL* record);
Rows to_vec_vec(long long** m, int nb_lines, int nb_cols);
std::vector<int> to_vec(long long* v, int nb_lines);
std::vector<int> to_vec_int(const std::set<int>& s);
std::set<int> to_set_int(const std::vector<int>& v);

// Every non-empty intersection of one polyhedron per list from `depth` on,
// the earlier lists outer. The lists stay the caller's.
std::vector<Polyhedron*> cross_product(const std::vector<std::vector<Polyhedron*>>& domain, int depth);
// The tiled domain of the library's lists, read through the active lists:
// pieces converted (each record freed, the lists emptied), crossed and
// coalesced. `progress` prints the cross product and coalescing lines.
std::vector<Polyhedron*> to_tiled_domain(std::list<std::list<polyhedronZIL*>>& lists, bool progress);

// ---- rectangular tiling in the space of the hyperplanes ----
// The size parameters of such a tiling: those of the domain and of the
// hyperplanes.
std::set<int> get_tiling_parameters(Polyhedron* domain, IndexFunction* hyperplanes);
// The checks of such a tiling that need no tiling, stopping on the first
// that fails: the minimum block size, one ratio per hyperplane, hyperplanes
// over the domain's counters, an integer left inverse of the hyperplanes on
// the domain. Returns that left inverse: one row per counter of the domain
// in increasing rank, [one column per hyperplane | one per tiling parameter
// in increasing rank | constant].
Rows check_rectangular_tiling(Polyhedron* domain, IndexFunction* hyperplanes, const std::vector<int>& scale);
// (pieces over outer_time_d, inner_time_d and the split parameters,
//  (counter -> its tiled expression, counter -> its expression over the
//   inner time counters and inner parameters)).
std::pair<std::vector<Polyhedron*>, std::pair<std::map<int, Expression*>, std::map<int, Expression*>>>
get_parallelepipedic_tiled_domain_time_domain(Polyhedron* domain, IndexFunction* hyperplanes,
                                              std::vector<int> scale);

// ---- general tiling by a shape and a lattice ----
// The checks of such a tiling that need no tiling, stopping on the first
// that fails: the lattice's size, denominators and rank, one parameter in
// the shape, the shape over the domain's counters and bounded, and the
// shape tiling the space with the lattice.
void check_general_tiling(Polyhedron* domain, Polyhedron* shape, const std::vector<std::vector<int>>& lattice);
// Registers the tiled names of the domain's counters and parameters and
// appends them to the active lists (emptied by the caller).
general_tiling_t make_general_tiling_variables(Polyhedron* domain);
// ((names, counter -> block_size * (lattice row . outer counters) + inner
// counter), pieces).
std::pair<std::pair<general_tiling_t, std::map<int, Expression*>>, std::vector<Polyhedron*>>
get_general_tiled_domain(Polyhedron* domain, Polyhedron* shape, std::vector<std::vector<int>> lattice);

}  // namespace ZILWrapper

#endif
