#ifndef TARVEX_INDEX_FUNCTION_H
#define TARVEX_INDEX_FUNCTION_H

// A multi-dimensional function of the loop counters, x -> (e_0(x), ...,
// e_{n-1}(x)), every output an Expression over counter and parameter ranks.
// It serves as array subscripts, schedules, tiling hyperplanes and solution
// points.
//
// Two readings of the entries exist and nothing in the object says which one
// applies: in the sparse form entry i is output i (everything the
// constructors build); in the dense form there is one entry per registry
// counter rank, entry c the value of counter c (the points built from solver
// answers by from_PipList).
//
// Ownership: a function owns its entries. Constructors and operations clone
// the expressions they are given, except push_front, which adopts its
// pointer. Every operation returning an IndexFunction*, a Polyhedron*, an
// Expression* or a container of them returns new objects owned by the
// caller and leaves its operands unchanged.

#include <list>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Expression;
class Polyhedron;
class SgExpression;
class Xml;
struct PipList;

class IndexFunction {
 public:
  std::vector<int> surrounding_counters;  // input counter ranks, outermost first
  std::vector<Expression*> index_mapping;  // owned, one per output

  // No counters, no entries.
  IndexFunction();
  // Copies of the counters and clones of the entries; the caller keeps both.
  IndexFunction(std::vector<int> counters, std::vector<Expression*> entries);
  explicit IndexFunction(std::vector<Expression*> entries);
  // Identity: entry k is the counter leaf of counters[k].
  explicit IndexFunction(std::vector<int> counters);
  // Entry k is the constant values[k].
  IndexFunction(std::vector<int> counters, std::vector<int> values);
  // One entry per full-width row [counters | parameters | constant], read
  // at the registry's current counts.
  IndexFunction(std::vector<int> counters, std::vector<std::vector<int>> matrix);
  explicit IndexFunction(std::vector<std::vector<int>> matrix);
  // Rows [listed counters | listed parameters | constant]; unlisted ranks
  // get 0. The set form takes the ranks in ascending order.
  IndexFunction(std::vector<std::vector<int>> matrix, std::vector<int> counters,
                std::vector<int> parameters);
  IndexFunction(std::vector<std::vector<int>> matrix, std::set<int> counters,
                std::set<int> parameters);
  // Read from its XML element; owns the entries read. Stops on an
  // unregistered counter or a missing entry.
  explicit IndexFunction(const Xml& node);
  ~IndexFunction();
  // Copies go through clone(); a member-wise copy would share the entries.
  IndexFunction(const IndexFunction&) = delete;
  IndexFunction& operator=(const IndexFunction&) = delete;

  // dim constant-0 entries over the given counters.
  static IndexFunction* null_index(std::vector<int> surround, int dim);

  IndexFunction* clone();
  void push_back(Expression* e);   // appends a clone of e
  void push_front(Expression* e);  // inserts e itself as entry 0
  int size();
  int dimension();

  // Array reference of a C left side: (array name, subscripts with the
  // given surrounding counters); a scalar gives no entry. Anything but
  // array subscripts ending in a variable reference stops the run.
  static std::pair<std::string, IndexFunction*> from_Sage(SgExpression* n,
                                                          std::vector<int> counters);
  // Dense point of a solver answer: entry actual_counter[k] is the k-th
  // vector of the list (after skipping dim_theta vectors), every other
  // counter 0. newparm stays the caller's.
  static IndexFunction* from_PipList(PipList* pip_list, std::map<int, Expression*> newparm);
  static IndexFunction* from_PipList(PipList* pip_list, std::map<int, Expression*> newparm,
                                     int dim_theta);

  // Entrywise operations: same surrounding counters, entry i the named
  // Expression operation of entry i. The maps' expressions stay the caller's.
  IndexFunction* counters_to_counters(std::map<int, int> m);
  IndexFunction* counters_to_parameters(std::map<int, int> m);
  IndexFunction* parameters_to_counters(std::map<int, int> m);
  IndexFunction* parameters_to_parameters(std::map<int, int> m);
  IndexFunction* substitute_counters(std::map<int, Expression*> m);
  IndexFunction* substitute_parameters(std::map<int, Expression*> m);
  IndexFunction* simplify_matrix();
  IndexFunction* linear_part();
  // Entry i mod modulo[i]; the vector must be at least as long.
  IndexFunction* add_modulos(std::vector<int> modulo);
  IndexFunction* add_modulos_expr(std::vector<Expression*> modulo_expr);
  // Only the entries that are not integer constants.
  IndexFunction* remove_constants();

  // Queries.
  int is_constant();                          // one entry, a constant leaf
  int is_constant(std::vector<int> counters);  // every listed position constant
  int constant();
  int has_div();
  int is_null_index();
  Expression* get_last();  // a clone

  // Conversions; the maps hold clones the caller owns.
  std::map<int, Expression*> to_mapping();  // dense: counter c -> entry c
  std::map<int, Expression*> to_mapping(std::vector<int> output_counters);
  std::vector<std::vector<int>> to_matrix();
  std::vector<std::vector<int>> to_matrix(std::vector<int> active_counters,
                                          std::vector<int> active_parameters);
  std::vector<std::vector<int>> to_matrix(std::set<int> active_counters,
                                          std::set<int> active_parameters);
  std::vector<std::vector<int>> to_matrix_linear(std::vector<int> counters);
  // Surrounding counters' coefficients, zeros for the parameters, constant.
  std::vector<std::vector<int>> to_matrix_cloog();

  // Text forms.
  void print_code(std::ostream& sout);  // entries joined by ","
  // The same padded with ",0" up to max_dim entries.
  void print_code(std::ostream& sout, int max_dim);
  void print();  // debug box on standard error
  // The element `tag`: "surrounding_counters", "index_mapping".
  void print_xml(std::ostream& os, std::string tag);

  // ---- algebra ----

  // Entry-wise equalities (positions in `counters` only, for the set form).
  static Polyhedron* equal(IndexFunction* index1, IndexFunction* index2);
  static Polyhedron* equal(IndexFunction* index1, IndexFunction* index2,
                           std::set<int> counters);
  // Counter c == m[c] for every key, ascending.
  static Polyhedron* equal(std::map<int, Expression*> m);
  Polyhedron* positive();  // every entry >= 0
  int operator==(IndexFunction& index);

  // Pieces whose union is where this function is lexicographically before
  // index; operator< drops the empty ones and answers a single universe
  // as soon as a piece is the universe.
  std::list<Polyhedron*> before_no_simplification(IndexFunction* index);
  std::vector<Polyhedron*> before_no_simplification_vec(IndexFunction* index);
  std::list<Polyhedron*> operator<(IndexFunction& index);

  // Composition; the dense reading: as many entries as surrounding counters.
  std::map<int, Expression*> to_mapping_dense();
  IndexFunction* apply_dense(IndexFunction* index);
  IndexFunction* power(int k);

  // Selection.
  IndexFunction* keep_first(int n);
  IndexFunction* keep_last(int n);
  IndexFunction* keep(std::vector<int> dim);
  IndexFunction* sub(IndexFunction* delta);

  // Vector geometry.
  std::vector<IndexFunction*> orth();
  std::pair<int, std::vector<int>> is_translation(IndexFunction* index);
  int is_reuse_vector(IndexFunction* vec);
  Expression* dot(IndexFunction* index);

  // Inverse over the listed ranks: rows [outputs | parameters | constant],
  // one per active counter.
  std::vector<std::vector<int>> invert(std::vector<int> active_counters,
                                       std::vector<int> active_parameters);
  // The same on the integer points of the domain's equalities.
  std::vector<std::vector<int>> left_invert(std::vector<int> active_counters,
                                            std::vector<int> active_parameters,
                                            Polyhedron* input_domain);

  // Node identities of all entries; throws "IndexFunction::check:
  // interference found" when two entries share a node.
  std::set<void*> check();
};

// A new function of dim counters (vari) or parameters (pari) named id0,
// id1, ..., registered when new; the caller owns it (delete &f).
IndexFunction& vari(std::string var_id, int dim);
IndexFunction& pari(std::string par_id, int dim);

// Builders: (a, b) as a new function owned by the caller; the IndexFunction
// forms append a clone of e to f and return f.
IndexFunction& operator|(Expression& a, Expression& b);
IndexFunction& operator&&(Expression& a, Expression& b);
IndexFunction& operator|(IndexFunction& f, Expression& e);
IndexFunction& operator&&(IndexFunction& f, Expression& e);

// Entry-wise equalities as a new polyhedron owned by the caller.
Polyhedron& equal(IndexFunction& index1, IndexFunction& index2);

// "[e]" per entry: the C subscript list.
std::ostream& operator<<(std::ostream& os, IndexFunction& f);

// Deletes every non-null function; the vector stays the caller's.
void del(std::vector<IndexFunction*> v);

#endif
