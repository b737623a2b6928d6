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

#include <functional>
#include <list>
#include <map>
#include <set>
#include <string>
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
// The rows of the record above, and the record of such rows.
Rows library_rows(Polyhedron* p);
polyhedronZIL* to_polyhedronZIL(const Rows& rows);
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

// The work of crossing one statement's pieces, counted as it is done
// (the counts are the same on every machine): emptiness tests of
// intersections, pieces kept by one cross product, and pairs of pieces
// that coalescing compares (isl's work on a coalescing grows with the
// square of its pieces, about 15 to 25 operations a pair measured). The
// work after the crossing (the search for full tiles, code generation)
// grows with the pieces kept too. Past a bound the crossing stops,
// `exceeded` is set and the caller takes a convex superset of the pieces
// instead (see to_tiled_domain).
struct CrossingBudget {
  long long most_kept;
  long long most_tests;
  long long most_pairs;
  // The tests of the crossings of the lists over the same loops, which
  // come first (see to_tiled_domain): short lists, many tests each for
  // large tile ratios, counted apart.
  long long most_group_tests;
  long long tests = 0;  // spent so far
  long long pairs = 0;
  bool exceeded = false;
  // Counts `n` more tests, respectively a coalescing of n pieces; false,
  // with `exceeded` set, when that passes the bound.
  bool spend_tests(long long n);
  bool spend_coalescing(long long n);
};
struct CrossProductOptions {
  // Intersections without integer points within the context are left out;
  // the kept pieces do not carry its constraints. Not owned.
  Polyhedron* context = nullptr;
  CrossingBudget* budget = nullptr;  // none: no bound. Not owned.
  // The line "  Cross product... <settled>/<combinations>, <kept> kept".
  bool progress = false;
  // Receives, if given, the index of each kept piece's choice in the last
  // list. Not owned.
  std::vector<size_t>* last_choices = nullptr;
};
// Every non-empty intersection of one polyhedron per list from `depth` on,
// the earlier lists outer (a single list is copied as it stands); nothing
// once the budget is exceeded. The lists stay the caller's.
std::vector<Polyhedron*> cross_product(const std::vector<std::vector<Polyhedron*>>& domain, int depth);
std::vector<Polyhedron*> cross_product(const std::vector<std::vector<Polyhedron*>>& domain, int depth,
                                       const CrossProductOptions& options);
// The tiled domain of the library's lists, read through the active lists:
// pieces converted (each record freed, the lists emptied), crossed and
// coalesced, within the context if given (then every piece carries its
// constraints). `progress` prints the cross product and coalescing lines.
// `factors` receives, if given, the lists crossed, each piece carrying the
// context: unions whose intersection is the tiled domain for parameters
// >= 0 (the combinations left out have no point there), each one far
// smaller than the domain. Past the budget (or when it was exceeded
// before), the domain is one polyhedron instead: the intersection of the
// simple hulls of the lists, a convex superset of the tiled domain, and
// `factors` receives nothing.
std::vector<Polyhedron*> to_tiled_domain(std::list<std::list<polyhedronZIL*>>& lists, bool progress,
                                         Polyhedron* context = nullptr, CrossingBudget* budget = nullptr,
                                         std::vector<std::vector<Polyhedron*>>* factors = nullptr);

// ---- large constants as hidden parameters ----
// The library's number of pieces for each row of `rows` (rows handed to the
// library: over the active counters and nb_parameters parameter columns).
typedef std::function<std::vector<long long>(const Rows& rows, int nb_parameters)> PieceCounter;
struct HiddenRows {
  Rows rows;                      // over the active lists
  std::vector<long long> counts;  // the library's pieces of each row
  std::vector<int> hidden;        // hidden parameters, in the order appended
};
// `rows` (library rows over the active lists) in which the constant term d
// of a row becomes sign(d) * H, H the hidden parameter of value |d|
// (registered under the decimal text of |d|; INT_MIN becomes -H - 1, H of
// value INT_MAX), wherever that saves at least
// two of the row's pieces. The hidden parameters are appended to
// active_parameters (a column each, before the constant).
HiddenRows hide_large_constants(const Rows& rows, const PieceCounter& count);
// The number of pieces of the cross product of lists of these sizes, at
// most: their product, LLONG_MAX when it does not fit.
long long estimated_pieces(const std::vector<long long>& counts);

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
// The library's pieces for each constraint of such a tiling, its large
// constants hidden, leaving out those without integer points; for
// arguments that passed check_rectangular_tiling.
std::vector<long long> rectangular_piece_counts(Polyhedron* domain, IndexFunction* hyperplanes,
                                                const std::vector<int>& scale);
// The split of every size parameter p into outer_p = p / block_size and
// inner_p = p % block_size: 0 <= inner_p < block_size and, with
// "-positive-parameters", outer_p >= 0.
Polyhedron* split_constraints(const std::set<int>& parameters);
// (pieces over outer_time_d, inner_time_d and the split parameters,
//  (counter -> its tiled expression, counter -> its expression over the
//   inner time counters and inner parameters)). The hidden parameters of the
// image's large constants, split like the others, go to `hidden` if given.
// The pieces are crossed and coalesced within the split constraints of the
// parameters, and carry them, within `budget` (see to_tiled_domain: past
// it, one convex superset of the pieces). `factors` receives, if given,
// unions of pieces whose intersection is the pieces' union.
std::pair<std::vector<Polyhedron*>, std::pair<std::map<int, Expression*>, std::map<int, Expression*>>>
get_parallelepipedic_tiled_domain_time_domain(Polyhedron* domain, IndexFunction* hyperplanes,
                                              std::vector<int> scale, std::vector<int>* hidden = nullptr,
                                              CrossingBudget* budget = nullptr,
                                              std::vector<std::vector<Polyhedron*>>* factors = nullptr);

// ---- lattices with denominators ----
// A lattice of n + 1 rows of n values: the basis L (row i for counter i,
// column c for lattice counter c), then the denominators D, all >= 1.
// Generator c is L[.][c] / D_c.
// The lattice with column c divided by the gcd of its entries and D_c: the
// same generators in lowest terms.
Rows reduced_lattice(const Rows& lattice);
// M, the least common multiple of the denominators in lowest terms: every
// tile origin b·Σ_c z_c·L[.][c] / D_c is an integer point for every integer
// z exactly when the block size b is a multiple of M. INT_MAX + 1 when M
// is beyond int (no block size of the tiled code then).
long long lattice_block_multiple(const Rows& lattice);
// The number of lattice offsets o (0 <= o_c < D_c, D in lowest terms): the
// product of the denominators, LLONG_MAX when it does not fit.
long long lattice_offset_count(const Rows& lattice);
// The n basis rows in lowest terms with column c times M / D_c: the
// generators times M, as integers.
std::vector<std::vector<long long>> common_denominator_basis(const Rows& lattice);
// The ranks of the counters lattice_offset_<c> of a lattice, registered
// when new: -1 for a lattice counter c whose denominator in lowest terms is
// 1, else the offset o_c of ii_c = D_c·outer_c + o_c, 0 <= o_c < D_c.
std::vector<int> lattice_offset_counters(const Rows& lattice);
// The tiled domain of the library's lists for a lattice with these
// denominators (in lowest terms, some above 1), every piece carrying its
// lattice offset as modulo rows ii_c ≡ o_c (mod D_c), read through the
// active lists (the lattice counters first): each piece over the quotients
// outer_c of ii_c = D_c·outer_c + o_c with lattice_offset_c == o_c (from
// `offset_counters`), the lists crossed offset by offset within `budget`
// (may be null; see to_tiled_domain), coalesced. The records are freed,
// the lists emptied.
std::vector<Polyhedron*> to_tiled_domain_with_offsets(std::list<std::list<polyhedronZIL*>>& lists,
                                                      const std::vector<int>& denominators,
                                                      const std::vector<int>& offset_counters,
                                                      CrossingBudget* budget = nullptr);

// ---- general tiling by a shape and a lattice ----
// The checks of such a tiling that need no tiling, stopping on the first
// that fails: the lattice's size, denominators and rank, one parameter in
// the shape, the shape over the domain's counters and bounded, and the
// shape tiling the space with the lattice.
void check_general_tiling(Polyhedron* domain, Polyhedron* shape, const std::vector<std::vector<int>>& lattice);
// Registers the tiled names of the domain's counters and parameters, the
// hidden parameters after the others, and appends them to the active lists
// (emptied by the caller).
general_tiling_t make_general_tiling_variables(Polyhedron* domain, const std::vector<int>& hidden = {});
// The library's pieces for each constraint of such a tiling for one lattice
// offset (at most), its large constants hidden, leaving out those without
// integer points; for arguments that passed check_general_tiling.
std::vector<long long> general_piece_counts(Polyhedron* domain, Polyhedron* shape,
                                            const std::vector<std::vector<int>>& lattice);
// ((names, counter -> block_size * (lattice row . outer counters) + inner
// counter), pieces). The names split the hidden parameters of the domain's
// large constants like the others. `factors` receives, if given, unions of
// pieces whose intersection is the pieces' union (see to_tiled_domain;
// none for a lattice with denominators).
// `budget` bounds the crossings of every lattice offset together.
std::pair<std::pair<general_tiling_t, std::map<int, Expression*>>, std::vector<Polyhedron*>>
get_general_tiled_domain(Polyhedron* domain, Polyhedron* shape, std::vector<std::vector<int>> lattice,
                         std::vector<std::vector<Polyhedron*>>* factors = nullptr,
                         CrossingBudget* budget = nullptr);

// ---- tilings named after the variables they split ----
// Every tiled variable v is named outer_<v> and inner_<v>: counter c is
// split into its block and local parts, c = s·block_size·outer_c + inner_c
// (s its tile ratio), and parameter N into N = block_size·outer_N +
// inner_N. The pieces assume block_size >= 4 and do not bound inner_N.

// Registers outer_<c> for every counter c of the domain, then inner_<c>,
// then outer_<p> and inner_<p> for every parameter p (increasing rank, each
// name only when new), and appends them in that order to the active lists,
// which the caller empties first.
tiling_t make_tiling_variables(Polyhedron* domain);
// The affine map M (r rows [nb_counters | nb_parameters | constant])
// applied to the outer variables and, separately, to the inner ones: 2r rows
// [outer counters | inner counters | outer parameters | inner parameters |
// block_size | constant]. With x = b·o + l and N = b·Nb + Nl, M(x, N) is
// b·(A·o + B·Nb) + (A·l + B·Nl + f): the constant f goes in the inner rows
// only, and the block_size column is 0.
Rows double_matrix(const Rows& M, int nb_counters, int nb_parameters);
// `piece` (taken over) in the basis y = basis(x): a new record, or the
// piece itself when it has no row (the universe in every basis).
polyhedronZIL* into_basis(polyhedronZIL* piece, affFuncZIL* basis);
// Rectangular tiling of the domain in its own counters, with the ratio
// scale[c] (at least 1) of every counter c: (names, pieces).
std::pair<tiling_t, std::vector<Polyhedron*>> get_rectangular_tiled_domain(Polyhedron* domain,
                                                                          std::map<int, int> scale);
// Tiling along the hyperplanes y = A·x + B·N + f, one per counter of the
// domain and a unimodular change of basis, with the ratio scale[k] of
// hyperplane k: y_k = scale[k]·block_size·Y_k + y'_k where (Y, y') =
// (A·outer + B·outer_N, A·inner + B·inner_N + f). Without counters, the
// rectangular tiling. (names, pieces).
std::pair<tiling_t, std::vector<Polyhedron*>> get_parallelepipedic_tiled_domain(Polyhedron* domain,
                                                                               IndexFunction* hyperplanes,
                                                                               std::vector<int> scale);
// On standard output: "Tiled counters", a line "c --> (outer_c,inner_c)"
// per counter, "Tiled parameters" and the same lines for the parameters.
void print_tiling(const tiling_t& tiling);
// The same lines without the headings, then the pieces.
void print_tiled_domain(const std::pair<tiling_t, std::vector<Polyhedron*>>& tiled);

// ---- tilings of affine functions ----
// A tiled function: condition piece over the tiled input variables of the
// input tiling (outer counters, inner counters; outer parameters, inner
// parameters, block_size) -> the function valid on it, whose output i is
// the block part of output i of the function and output m + i its local
// part (an integer division where the library's divisor is not 1). Keyed by
// pointer, so the order means nothing; keys and values are new, owned by
// the caller. block_size must be registered.
typedef std::map<Polyhedron*, IndexFunction*> tiled_function_t;

// `index` over the counters and parameters of input_tiling (the keys),
// each counter c with the ratio input_scale[c], output i with the ratio t_i
// = output_scale[i]: output i = t_i·block_size·block_i + local_i, with 0 <=
// local_i < t_i·block_size. t_i must divide the block coefficients of
// output i: each input ratio times its counter coefficient, and each
// parameter coefficient. output_tiling plays no part.
tiled_function_t get_rectangular_tiled_function(IndexFunction* index, std::map<int, int> input_scale,
                                                std::vector<int> output_scale, tiling_t input_tiling,
                                                tiling_t output_tiling);
// The same in the coordinates of unimodular hyperplanes on both sides: the
// input's over the counters and parameters of input_tiling, the output's
// over the counters of output_tiling (one per output) and the parameters of
// input_tiling. Output i of `index` computes the output counter
// output_counter_rank[i] (each output counter once); its block and local
// parts come back through the doubled inverse of the output hyperplanes.
// The output ratios must divide the block coefficients of the function
// from input to output hyperplane coordinates.
tiled_function_t get_parallelepipedic_tiled_function(IndexFunction* index, IndexFunction* input_hyperplanes,
                                                     std::vector<int> input_scale, tiling_t input_tiling,
                                                     IndexFunction* output_hyperplanes, std::vector<int> output_scale,
                                                     tiling_t output_tiling, std::vector<int> output_counter_rank);
// The general tiling of `index`: the input by input_shape over the counters
// of input_tiling (at least one) and the lattice basis input_lattice (n rows
// of n values), the output by output_shape over the counters of
// output_tiling (one per output) and output_lattice (m rows of m values);
// each shape has one parameter, the block size. Output i is
// block_size·(output lattice row i . block parts) + local part i.
tiled_function_t get_general_tiled_function(IndexFunction* index, Polyhedron* input_shape,
                                            std::vector<std::vector<int>> input_lattice, Polyhedron* output_shape,
                                            std::vector<std::vector<int>> output_lattice, tiling_t input_tiling,
                                            tiling_t output_tiling);
// r[i] = the position in `counters` of output_rank[i] (the last one when
// several); a rank that is not there stops the run.
std::vector<int> set_line_permutation(std::vector<int> output_rank, std::vector<int> counters);
// v, then v[i] + |v| for each i.
std::vector<int> double_vector(std::vector<int> v);

}  // namespace ZILWrapper

#endif
