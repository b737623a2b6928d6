#ifndef TARVEX_ISL_WRAPPER_H
#define TARVEX_ISL_WRAPPER_H

// The bridge to isl. A union of polyhedra crosses it as one constraint matrix
// per member, all over the same columns [flag | c counters | p parameters |
// constant] (flag 0: row == 0, otherwise row >= 0). Each call makes its own
// isl context and frees it before returning; isl errors abort the process.

#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

struct isl_ctx;
struct isl_space;
struct isl_set;
struct isl_union_set;
struct isl_val;

class ISLWrapper {
public:
  typedef std::vector<std::vector<int>> IntRows;

  // The union of the members, merged where isl can.
  static std::vector<IntRows> coalesce(std::vector<IntRows> domain, int nb_counters, int nb_parameters);
  // One union for coalesce_all: its members over its own columns, and the
  // coalesced union.
  struct CoalescingJob {
    std::vector<IntRows> domain;
    int nb_counters = 0;
    int nb_parameters = 0;
    std::vector<IntRows> coalesced;
  };
  // coalesce() of every job, several at once, each in a thread of its own
  // (in the calling thread when no thread can be started).
  static void coalesce_all(std::vector<CoalescingJob>& jobs);
  // One set of rows holding every member (isl's simple hull), or rows
  // without integer point for a domain without member.
  static IntRows simple_hull(std::vector<IntRows> domain, int nb_counters, int nb_parameters);
  // m (rows over nb_counters counters) projected onto the counters kept, in
  // rational values as PolyLib's projection: the other counters' columns come
  // back 0. isl computes in arbitrary precision, where PolyLib may overflow.
  static IntRows project(const IntRows& m, const std::set<int>& kept, int nb_counters, int nb_parameters);
  // domain1 minus domain2.
  static std::vector<IntRows> subtract(std::vector<IntRows> domain1, std::vector<IntRows> domain2,
                                       int nb_counters, int nb_parameters);
  // domain simplified in context: pieces with the domain's points within
  // the context; the members without a point there are left out.
  static std::vector<IntRows> gist(std::vector<IntRows> domain, std::vector<IntRows> context,
                                   int nb_counters, int nb_parameters);
  // 1 when the rows [flag | nb_variables variables | constant] have no
  // integer point, else 0: one exact integer emptiness test.
  static int is_empty(const IntRows& rows, int nb_variables);
  // a minus b (rows as for is_empty) as pieces without a common integer
  // point: a, the constraints of b before the k-th kept, and the k-th
  // negated (an equality as two inequalities). Empty pieces are left out.
  static std::vector<IntRows> disjoint_subtract(const IntRows& a, const IntRows& b, int nb_variables);
  // isl's right inverse of m (n_col x n_col, uncut), traced on standard
  // output; m without rows comes back unchanged and silently.
  static IntRows right_inverse(IntRows m);
  // The box of `domain` (a set in isl syntax, kept) along the set
  // dimensions at the positions `kept`: the bounds of each such dimension
  // in the parameters that hold for every rational point of the domain's
  // simple hull (without the hull's constraints on the parameters alone),
  // intersected with `cell` (a set of the same space); in
  // isl's syntax. Nothing when isl fails or takes more than `operations`.
  static std::optional<std::string> box_within(const std::string& domain, const std::string& cell,
                                               const std::vector<int>& kept, unsigned long operations);
  // The least and the largest value of the set dimension at `position` of
  // `domain` (a set in isl syntax, kept) as C texts over its parameters,
  // computed in long long, for the parameter values where the domain has a
  // point: the bounds of a counter over the instances of its statement.
  // "" for a side that is infinite, or that isl does not find within
  // `operations`; "1" and "0" for a domain without any point.
  static std::pair<std::string, std::string> dimension_range(const std::string& domain, int position,
                                                             unsigned long operations);
  // The combinations of the set dimensions of `domain` (a set in isl syntax,
  // kept) that the constraints of its simple hull name when they name two
  // or more of the dimensions `kept` (positions) and no other, each once
  // (coefficients over every dimension, divided by their greatest common
  // divisor, the first nonzero one positive; none above
  // `largest_coefficient` in absolute value), with its least and largest
  // value over the domain as dimension_range gives them: how a dimension
  // ranges given the others. Combinations whose range isl does not find
  // within `operations` each are left out.
  struct CombinationRange {
    std::vector<long long> coefficients;
    std::pair<std::string, std::string> range;
  };
  static std::vector<CombinationRange> combination_ranges(const std::string& domain, const std::set<int>& kept,
                                                          long long largest_coefficient, unsigned long operations);
  // Whether the set or union set written in isl syntax has a point for some
  // values of its parameters; also true when isl cannot read the text.
  static bool may_have_points(const std::string& text);
  // Writes the script to "input.iscc", runs "iscc < input.iscc > output.iscc"
  // and ends the process: status 0 when iscc succeeded, else 1.
  [[noreturn]] static void set_from_iscc(std::stringstream& script);
};

// The basic set of one constraint matrix in the given set space (kept by the
// caller); the new set belongs to the caller.
isl_set* from_vec_vec(isl_ctx* ctx, isl_space* space, const std::vector<std::vector<int>>& m);
// One matrix per basic set of s (kept by the caller): inequalities [1 | ...]
// then equalities [0 | ...], columns set, div, param, constant.
std::vector<std::vector<std::vector<int>>> to_vec_vec_vec(isl_set* s);
// The numerator of v as an int; v is freed.
int to_int(isl_val* v);
// The set in isl syntax on standard output, without a line end.
void print_set(isl_ctx* ctx, isl_set* s);
void print_union_set(isl_ctx* ctx, isl_union_set* s);

#endif
