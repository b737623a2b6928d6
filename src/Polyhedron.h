#ifndef TARVEX_POLYHEDRON_H
#define TARVEX_POLYHEDRON_H

// The integer polyhedron of the system: a conjunction of affine constraints
// over counters and parameters (named by their registry ranks), with a cached
// constraint matrix. Rows of a constraint matrix are laid out
// [flag | counters | parameters | constant], flag 1 for ">= 0" and 0 for
// "== 0", at the registry's widths of the time they are built.
//
// Ownership: a polyhedron owns its constraints; every constraint it is given
// is copied, and every operation returning a Polyhedron* returns a new object
// owned by the caller. The receiver is left unchanged (apart from refreshing
// its cache) unless the operation says otherwise.
//
// No PolyLib header may be included here: its Polyhedron, Matrix and Vector
// types clash with ours.

#include <list>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Expression;
class IndexFunction;
class Inequation;
class Polyhedron;
class Quast;
class Schedule;
struct pipquast;
class SgExpression;
class SgNode;
class Xml;

// Compaction maps of the last parametric integer programming problem: the
// column of a kept counter, respectively parameter, to its registry rank.
extern std::map<int, int> actual_counter;
extern std::map<int, int> actual_parameter;

// 1 makes the bounded-counters self-test stop on an unbounded counter.
extern int fail_on_unbounded;

// When set, told of every emptiness answer decided exactly (a polyhedron
// without divisions) with the polyhedron asked: lets a test check each
// answer against another method.
extern void (*exact_emptiness_observer)(Polyhedron* p, int empty);

class Polyhedron {
 public:
  std::list<Inequation*> constraints;  // owned, in insertion order
  int has_matrix;                      // 1 when `matrix` holds a cache
  std::vector<std::vector<int>> matrix;
  int nb_counters;    // registry counts when the cache was filled
  int nb_parameters;
  int has_divs;       // 1 when some constraint holds a DIV node

  // The universe.
  Polyhedron();
  // One constraint, a copy of c (the caller keeps c).
  explicit Polyhedron(Inequation& c);
  explicit Polyhedron(Inequation* c);
  // Copies of the listed constraints, in list order; no cache.
  explicit Polyhedron(const std::list<Inequation*>& l);
  // Copies of p's constraints. Without divisions it refreshes p's cache
  // first and inherits its rows (flag-0 rows included).
  explicit Polyhedron(Polyhedron* p);
  // One constraint per full-width row; the rows become the cache. A row of
  // another width stops the run.
  explicit Polyhedron(const std::vector<std::vector<int>>& M);
  // Compacted rows [flag | C ascending | every parameter | constant],
  // widened to the full width, then as the constructor above.
  Polyhedron(const std::vector<std::vector<int>>& M, const std::set<int>& C);
  // Compacted rows [flag | C ascending | P ascending | constant].
  Polyhedron(const std::vector<std::vector<int>>& M, const std::set<int>& C,
             const std::set<int>& P);
  // Compacted rows [flag | C in order | P in order | constant]; a rank listed
  // twice takes its later column.
  Polyhedron(const std::vector<std::vector<int>>& M, const std::vector<int>& C,
             const std::vector<int>& P);
  // A plain polyhedron read from its XML element: the constraints read are
  // owned, the cached matrix taken as written. The element of a union (one
  // with a "domain" child) stops the run: it is read as a Domain.
  explicit Polyhedron(const Xml& node);
  // Deletes the constraints (a Domain also its members).
  virtual ~Polyhedron();

  // Copies go through clone() or constructor 5, which say what the cache
  // becomes; a member-wise copy would share the constraints.
  Polyhedron(const Polyhedron&) = delete;
  Polyhedron& operator=(const Polyhedron&) = delete;

  // The ten virtual operations, in slot order.
  virtual Polyhedron* clone();                              // 0: no cache
  virtual void add_constraint(Inequation* c);               // 1: appends a copy
  virtual void add_constraints(Polyhedron* q);              // 2: copies of q's
  virtual std::set<int> get_counters();                     // 3
  virtual std::set<int> get_parameters();                   // 4
  virtual int is_single_polyhedron();                       // 5
  virtual int is_domain();                                  // 6
  virtual void print();                                     // 7: box, stderr
  virtual void print(std::ostream& os);                     // 8: box
  virtual void print_iscc(std::string name, std::ostream& os);  // 9

  // Appends a copy of c (not virtual).
  void add(Inequation& c);
  // New polyhedron: copies of p's constraints, then of q's. Only the caches
  // of p and q change.
  static Polyhedron* intersect(Polyhedron* p, Polyhedron* q);
  // Number of constraints. Not a row count: an equality is one constraint
  // but two rows, so a matrix is sized by the rows it holds.
  int size();

  // Constraint matrices (all returned by value).
  std::vector<std::vector<int>> to_matrix();
  void update_matrix();
  std::vector<std::vector<int>> to_matrix(const std::set<int>& C);
  std::vector<std::vector<int>> to_matrix(const std::vector<int>& C);
  // Over the counter_rank of each (counter leaf) expression, by rank.
  std::vector<std::vector<int>> to_matrix(const std::set<Expression*>& E);
  std::vector<std::vector<int>> to_matrix(const std::set<int>& C, const std::set<int>& P);
  std::vector<std::vector<int>> to_matrix(const std::vector<int>& C,
                                          const std::vector<int>& P);
  // Only the coefficients of C, in C's order.
  std::vector<std::vector<int>> to_matrix_linear(const std::vector<int>& C);
  // Every constraint's rows without flag; the cache is not involved.
  std::vector<std::vector<int>> to_matrix_without_1();
  // (context rows as [flag | parameters | constant], all other rows whole).
  std::pair<std::vector<std::vector<int>>, std::vector<std::vector<int>>>
  to_matrix_context();

  // C conditions of the front end: comparisons, &&, true/false and bounds
  // with min and max.
  static Polyhedron* from_Sage(SgExpression* e);

  // Rewriting without changing the set.
  Polyhedron* simplify();
  Polyhedron* simplify_matrix();
  Polyhedron* normalize_no_eq();
  Polyhedron* recover_eq();
  static int belong(Inequation* c, std::list<Inequation*>::const_iterator first,
                    std::list<Inequation*>::const_iterator last);
  static std::vector<int> first_instance(std::vector<int> sizes);
  // The next combination, last position fastest; empty after the last one.
  static std::vector<int> next_instance(std::vector<int> sizes, std::vector<int> current);
  // Integer divisions by constants turned into quotient and remainder
  // counters q__k, r__k: (their ranks, new polyhedron).
  std::pair<std::set<int>, Polyhedron*> eliminate_divs();
  // The same rewriting on this polyhedron itself; returns the new ranks.
  std::set<int> eliminate_divs_local();
  // PolyLib's simplification of to_matrix(): the new polyhedron's cache holds
  // PolyLib's rows, equalities first, the positivity row "1 >= 0" included
  // whenever PolyLib keeps it.
  Polyhedron* simplify_chernikova();
  // New polyhedron: copies of the equalities of simplify_chernikova(), in
  // order.
  Polyhedron* filter_equalities();

  // Unions through isl: new members owned by the caller, over the counters
  // and parameters that occur in the arguments; every member must be a
  // single polyhedron. The options "no-coalesce" and "no-gist" turn the
  // operations into copies of the domain's members.
  static std::vector<Polyhedron*> coalesce(const std::vector<Polyhedron*>& domain);
  // coalesce() of each union, isl working on several at once.
  static std::vector<std::vector<Polyhedron*>> coalesce_each(const std::vector<std::vector<Polyhedron*>>& unions);
  // One polyhedron holding every member: the members' constraints, each
  // moved out as far as the other members need (isl's simple hull); a
  // union without member gives a polyhedron without point.
  static Polyhedron* simple_hull(const std::vector<Polyhedron*>& domain);
  // The domain simplified in the context: pieces with the domain's points
  // within the context, none for a member without a point there.
  static std::vector<Polyhedron*> gist(const std::vector<Polyhedron*>& domain,
                                       const std::vector<Polyhedron*>& context);
  static std::vector<Polyhedron*> gist(const std::vector<Polyhedron*>& domain, Polyhedron* context);
  // The single piece of the gist, or a clone of p.
  static Polyhedron* gist(Polyhedron* p, Polyhedron* context);

  // Occurrence queries (leaves whatever their coefficient).
  std::vector<int> get_counters_vec();
  static std::set<int> get_counters(const std::vector<Polyhedron*>& v);
  static std::set<int> get_parameters(const std::vector<Polyhedron*>& v);
  // The DIV nodes of the constraints: pointers into this polyhedron's trees,
  // never to be freed by the caller.
  std::vector<Expression*> get_divs();

  // Renamings and substitutions: new polyhedra without cache; the maps'
  // expressions stay the caller's.
  Polyhedron* parameters_to_parameters(std::map<int, int> m);
  Polyhedron* parameters_to_counters(std::map<int, int> m);
  Polyhedron* counters_to_parameters(std::map<int, int> m);
  Polyhedron* counters_to_counters(std::map<int, int> m);
  Polyhedron* substitute_counters(std::map<int, Expression*> m);
  Polyhedron* substitute_parameters(std::map<int, Expression*> m);
  // List forms: element i of the result is the operation on element i; a
  // Domain element stops the run.
  static std::vector<Polyhedron*> parameters_to_parameters(const std::vector<Polyhedron*>& v,
                                                           std::map<int, int> m);
  static std::vector<Polyhedron*> parameters_to_counters(const std::vector<Polyhedron*>& v,
                                                         std::map<int, int> m);
  static std::vector<Polyhedron*> counters_to_parameters(const std::vector<Polyhedron*>& v,
                                                         std::map<int, int> m);
  static std::vector<Polyhedron*> counters_to_counters(const std::vector<Polyhedron*>& v,
                                                       std::map<int, int> m);
  static std::vector<Polyhedron*> substitute_counters(const std::vector<Polyhedron*>& v,
                                                      std::map<int, Expression*> m);
  static std::vector<Polyhedron*> substitute_parameters(const std::vector<Polyhedron*>& v,
                                                        std::map<int, Expression*> m);

  // Rewrites floor and ceil right sides in place.
  void eliminate_floor_and_ceil();
  // Without the rows over parameters only; constraints rebuilt from rows.
  Polyhedron* remove_context();
  // Without the equalities and the single-counter bounds on `counters`;
  // constraints rebuilt from rows.
  Polyhedron* remove_constraints(const std::set<int>& counters);
  Polyhedron* remove_constraints(const std::vector<int>& counters);
  static std::vector<Polyhedron*> remove_constraints(const std::vector<Polyhedron*>& v,
                                                     const std::set<int>& counters);
  static std::vector<Polyhedron*> remove_constraints(const std::vector<Polyhedron*>& v,
                                                     const std::vector<int>& counters);

  // Text forms.
  void print(std::ostream& os, std::string prefix);
  void print_iscc(std::ostream& os);
  std::string print_code();
  void print_code(std::ostream& os);
  static void print_code(std::ostream& os, const std::vector<Polyhedron*>& v);
  void print_vhdl(std::ostream& os);
  void print_pavu(std::ostream& os);
  static void print_list(const std::list<Polyhedron*>& l);
  // This polyhedron's own constraints joined by " and ", in isl's syntax.
  void print_iscc_constraints(std::ostream& os);
  // The element `tag` with the six fields; a Domain adds its members under
  // "domain", each written the same way.
  void print_xml(std::ostream& os, std::string tag);

  // ---- predicates (1 or 0) ----

  // No integer point for any parameter values >= 0 (counters of any sign).
  // Exact without divisions (a parametric integer program); with divisions
  // only a single constraint false by itself makes it empty.
  int is_empty();
  int weak_is_empty();  // some constraint is literally 1 == 0
  int is_universe();    // no constraint, or every one trivially true
  // Every integer point satisfies c (c stays the caller's).
  int is_saturated_by(Inequation* c);
  // Every constraint of this polyhedron holds on all of q.
  int contains(Polyhedron* q);
  int weak_equals(Polyhedron* q);  // same full matrices, row by row
  int has_parameters();
  int has_div();
  int has_eq();
  // -1 when empty, else the dimension of the affine hull of the counters.
  int dim();
  // Self-test, only while the option "check" is set: every counter must
  // have a constant lower and upper bound, else the run stops. Sets
  // fail_on_unbounded for good; a non-empty name frames it on standard
  // output.
  void check(std::string name);

  // ---- parametric integer programming ----
  // Lexicographic optima of the integer points as new quasts owned by the
  // caller. Every solve compacts its columns (refilling actual_counter and
  // actual_parameter), solves and decodes in one sequence. Parameters are
  // >= 0 in all of them; the counters' signs are noted per member.

  Quast* max_lex();                        // counters free
  Quast* min_lex_no_context_extraction();  // counters and parameters free
  // Rows over parameters alone become the solver's context; counters free.
  Quast* min_lex();
  Quast* min_lex(std::vector<int> counters, int stmt);  // tagged leaves
  Quast* max_lex(std::vector<int> counters, int stmt);
  // Over a schedule's dates first (dates and counters >= 0); the leaves
  // hold the counters only.
  Quast* min_lex(Schedule* theta);
  Quast* max_lex(Schedule* theta);
  // The same with the schedule of statement stmt and the context split off.
  Quast* min_lex(std::vector<Schedule*> theta, std::vector<int> counters, int stmt);
  Quast* min_lex(std::vector<Schedule*> theta, std::vector<int> counters, int stmt, int read_rank);
  Quast* max_lex(std::vector<Schedule*> theta, std::vector<int> counters, int stmt);
  // Every schedule cut to its first max_dim dates.
  Quast* min_lex(std::vector<Schedule*> theta, int max_dim, std::vector<int> counters, int stmt,
                 int read_rank);

  // M solved as it stands, without compaction and with default options; the
  // caller frees the answer with pip_quast_free.
  static pipquast* raw_pip(std::vector<std::vector<int>> M, int nb_parameters);
  // Null-column compaction of full-width rows [flag | d dates | counters |
  // parameters | constant]: rows [flag | dates | kept counters | kept
  // parameters | constant]; refills both compaction maps.
  static std::vector<std::vector<int>> remove_null_columns(std::vector<std::vector<int>> M);
  static std::vector<std::vector<int>> remove_null_columns(std::vector<std::vector<int>> M, int d);
  // Pair form over (context rows [flag | parameters | constant], domain
  // rows): (compacted context, compacted domain). A parameter the context
  // alone uses is kept.
  static std::pair<std::vector<std::vector<int>>, std::vector<std::vector<int>>> remove_null_columns(
      std::pair<std::vector<std::vector<int>>, std::vector<std::vector<int>>> CD);
  static std::pair<std::vector<std::vector<int>>, std::vector<std::vector<int>>> remove_null_columns(
      std::pair<std::vector<std::vector<int>>, std::vector<std::vector<int>>> CD, int d);
  // The scheduled problem of full-width rows M and a schedule matrix T:
  // rows [flag | dates | counters | parameters | constant], two per date
  // stating date_k == T[k] . x, then M's rows behind the dates.
  static std::vector<std::vector<int>> scheduled_rows(const std::vector<std::vector<int>>& M,
                                                      const std::vector<std::vector<int>>& T);
  // Full-width rows reduced to the listed ranks (ascending), and back.
  static std::vector<std::vector<int>> compact(std::vector<std::vector<int>> M, int nb_counters,
                                               int nb_parameters, std::set<int> counters,
                                               std::set<int> parameters);
  static std::vector<std::vector<int>> deflat(std::vector<std::vector<int>> compacted, int nb_counters,
                                              int nb_parameters, std::set<int> counters,
                                              std::set<int> parameters);

  // ---- projection, elimination and image ----
  // Rational projections onto the given counters (every parameter kept);
  // a kept counter inside an integer division stops the run.
  Polyhedron* project(std::set<int> counters);
  Polyhedron* project(std::vector<int> counters);
  Polyhedron* project(int counter);
  Polyhedron* project(std::set<Expression*> counters);  // counter leaves
  Polyhedron* project(std::vector<Expression*> counters);
  Polyhedron* project(IndexFunction& f);  // onto f's counter-leaf entries
  Polyhedron* project(Expression& e);
  // The same with every parameter eliminated too (parameters are
  // registered as counters for good).
  Polyhedron* project_no_parameters(std::set<int> counters);
  Polyhedron* project_no_parameters(int counter);
  // Integer projection onto the given counters: pieces whose union holds
  // exactly the integer points of the counters (at any sign) that extend
  // to an integer point of this polyhedron. Registers the parameters
  // "c_<rank>" for good.
  std::vector<Polyhedron*> project_int(std::set<int> counters);
  // Hull with the mirror image through the origin of the counter space.
  Polyhedron* symetrize();
  Polyhedron* project_and_symetrize(std::set<int> counters);
  Polyhedron* project_and_symetrize(std::set<Expression*> counters);
  // Projection onto the occurring counters less the given ones.
  Polyhedron* eliminate(std::set<int> counters);
  Polyhedron* eliminate(std::vector<int> counters);
  Polyhedron* eliminate(int counter);
  // Image by f on the counters t___0, t___1, ... (registered for good):
  // (image, their ranks); an empty image is 1 > 1.
  std::pair<Polyhedron*, std::vector<int>> image(IndexFunction* f);
  // By the components listed in dims: (image, image counter -> component).
  std::pair<Polyhedron*, std::map<int, int>> image(IndexFunction* f, std::vector<int> dims);
  std::pair<Polyhedron*, std::vector<int>> image(Schedule* s);
  // Computes nothing: a new polyhedron without constraints.
  Polyhedron* dark_shadow(std::set<int> counters);
  // A division-free polyhedron over this one's counters (quotient and
  // remainder counters projected out).
  Polyhedron* eliminate_divs_and_simplify();
  static std::vector<Polyhedron*> eliminate_divs(std::vector<Polyhedron*> v);

  // ---- set difference ----
  // p1 minus p2 as new polyhedra owned by the caller; the arguments are
  // unchanged. The PolyLib road works over the listed counters and every
  // parameter and coalesces its pieces; a counter of p1 or p2 outside the
  // set stops the run (its column would be dropped). Two polyhedra with the
  // same matrix rows give no piece without a call to PolyLib.
  static std::vector<Polyhedron*> subtract(Polyhedron* p1, Polyhedron* p2, std::set<int> counters);
  // The PolyLib road over every registered counter.
  static std::vector<Polyhedron*> polylib_subtract(Polyhedron* p1, Polyhedron* p2);
  // The isl road over the counters and parameters that occur; not coalesced.
  static std::vector<Polyhedron*> isl_subtract(Polyhedron* p1, Polyhedron* p2);
  // p1 minus p2 over the counters and parameters that occur, as pieces
  // without a common integer point: p1, the constraints of p2 before the
  // k-th kept, and the k-th negated (an equality as two inequalities).
  // Empty pieces are left out.
  static std::vector<Polyhedron*> disjoint_subtract(Polyhedron* p1, Polyhedron* p2);
  static std::vector<Polyhedron*> subtract(Polyhedron* p1, Polyhedron* p2);
  // Union minus one polyhedron: isl, coalesced after each member; PolyLib,
  // the members' pieces concatenated.
  static std::vector<Polyhedron*> subtract(const std::vector<Polyhedron*>& p1, Polyhedron* p2);
  static std::vector<Polyhedron*> subtract(const std::vector<Polyhedron*>& p1, Polyhedron* p2,
                                           std::set<int> active_counters);
  // Union minus union, one member of p2 after the other. The isl road
  // writes its progress on standard error.
  static std::vector<Polyhedron*> subtract(const std::vector<Polyhedron*>& p1,
                                           const std::vector<Polyhedron*>& p2,
                                           std::set<int> active_counters);
  static std::vector<Polyhedron*> subtract(const std::vector<Polyhedron*>& p1,
                                           const std::vector<Polyhedron*>& p2);

  // ---- unions of polyhedra ----
  // A Domain met by the operations below (receiver, argument or member)
  // stops the run with "Polyhedron::<operation>: expect single polyhedra"
  // on standard error; only the stream operators, clone and del accept one.

  // Some constraint implies c, constraint by constraint (Inequation::implies);
  // 0 without constraint. c stays the caller's.
  int implies(Inequation* c);
  // Every member implies c; 1 for no member.
  static int implies(const std::vector<Polyhedron*>& v, Inequation* c);
  // The complement as new polyhedra, empty ones left out: none for a
  // polyhedron without constraint. An equality is negated into its two
  // strict sides.
  std::vector<Polyhedron*> negate();
  // The complement of the union; one universe for no member.
  static std::vector<Polyhedron*> negate(const std::vector<Polyhedron*>& v);
  // Exactly one member, and it holds 1 == 0.
  static int weak_is_empty(const std::vector<Polyhedron*>& v);
  // Every member is_empty(); 1 for no member.
  static int is_empty(const std::vector<Polyhedron*>& v);
  static int is_empty(const std::list<Polyhedron*>& l);
  // Some member is_universe(); 0 for no member.
  static int is_universe(const std::vector<Polyhedron*>& v);
  static int is_universe(const std::list<Polyhedron*>& l);
  // Same number of constraints, pairwise Inequation::equals in list order.
  int equals(Polyhedron* q);
  // Self-test: the addresses of every expression node of the constraints.
  // Throws "Polyhedron::check: interference found" when a node is reached
  // twice.
  std::set<void*> check();

  // ---- hulls, envelopes, partitions and vertices ----
  // Convex hulls through PolyLib, from the members' matrices in order: the
  // hull's equalities are flag-0 rows of its cache. An empty list stops the
  // run (standard output).
  Polyhedron* convex_hull(Polyhedron* p);
  static Polyhedron* convex_hull(const std::vector<Polyhedron*>& v);
  static Polyhedron* convex_hull(const std::list<Polyhedron*>& l);
  // The constraints of each of p and q (division-free, equalities split)
  // that the other one satisfies: a superset of the union.
  static Polyhedron* envelope(Polyhedron* p, Polyhedron* q);
  // The constraints of each member that every other member satisfies; a
  // polyhedron without constraint for no member.
  static Polyhedron* envelope(const std::vector<Polyhedron*>& v);
  // The envelope of the two bounding boxes; a universe envelope stops the
  // run with a report on standard error.
  static Polyhedron* bounded_envelope(Polyhedron* p, Polyhedron* q);
  // The envelope of the members cut by the envelope of their bounding
  // boxes; an empty list stops the run.
  static Polyhedron* bounded_envelope(const std::vector<Polyhedron*>& v);
  // (1, hull) when the hull of the receiver and p holds no integer point
  // outside both, else (0, null).
  std::pair<int, Polyhedron*> is_convex_union(Polyhedron* p);
  // The same question for parameter-free polyhedra, asked of the midpoints
  // (single precision) of the integral vertices each one lacks.
  static int is_convex_union_non_parametrized(Polyhedron* p, Polyhedron* q);
  // Pieces covering the union: the intersection, then the differences; no
  // piece is tested for emptiness.
  static std::vector<Polyhedron*> partition(Polyhedron* p1, Polyhedron* p2);
  static std::vector<Polyhedron*> partition(const std::vector<Polyhedron*>& v);
  // Generators of a parameter-free polyhedron over [counters | parameters]:
  // the integral vertices, respectively the rays and lines (the set and
  // vector forms keep the given counters' columns and drop zero rays).
  std::vector<std::vector<int>> get_vertices_non_parametrized();
  std::vector<std::vector<int>> get_rays_non_parametrized();
  std::vector<std::vector<int>> get_rays_non_parametrized(std::set<int> counters);
  std::vector<std::vector<int>> get_rays_non_parametrized(std::vector<int> counters);
  // A point [counters | parameters] satisfies every row of to_matrix(): an
  // inequality row with a sum >= 0, an equality row with a sum of exactly
  // 0 (single precision). A point of another size stops the run.
  int has_non_parametrized(std::vector<int> point);
  int has_non_parametrized(std::vector<float> point);
  // The symbolic point (D, f) lies in the receiver for some parameter values
  // of D. Only f's surrounding counters are substituted: the vertex
  // functions of get_vertices list them.
  int has(std::pair<Polyhedron*, IndexFunction*> point);
  // The receiver has a point for the given parameter values, truncated
  // toward zero; a value outside the int range stops the run.
  int has(std::map<int, double> parameter_value);
  // Parametric vertices: validity domain over the parameters -> the vertex,
  // one entry per registered counter (DIV(row, d) for a denominator d > 1).
  // Refills the compaction maps; an empty polyhedron gives no entry.
  std::map<Polyhedron*, IndexFunction*> get_vertices();

  // ---- counting and bounds ----
  // Some non-zero integer direction d over `counters` keeps every
  // inequality row's linear part >= 0 and every equality row's at 0 (the
  // parameters and constants left out): the polyhedron is unbounded along
  // d whenever it holds a point.
  int is_unbounded(const std::vector<int>& counters);
  // Ehrhart counts of the integer points over the given counters, as a
  // piecewise quasi-polynomial of the parameters (validity domain -> count),
  // one class-name line per piece on standard output, for parameter values
  // of either sign. The pieces share no integer point, and every count is
  // checked against exact counts (CertifiedCount.h): one that cannot be
  // certified stops the run. A polyhedron without a point for any parameter
  // value counts {universe -> 0}; a counter of some constraint outside the
  // set, or an unbounded polyhedron, stops the run.
  std::map<Polyhedron*, Expression*> volume(std::set<int> counters);
  std::map<Polyhedron*, Expression*> volume();  // over the counters that occur
  // Over f's entries, each of which must be a counter leaf.
  std::map<Polyhedron*, Expression*> volume(IndexFunction& f);
  // The count when it is one constant; otherwise throws "Polyhedron::
  // int_volume: non constant volume" (the map released first).
  int volume_int();
  // The number of points before the symbolic point (ii, jj, ...) at the
  // given depth of the lexicographic order (coordinates of either sign),
  // and counter -> the rank of its parameter (registered for good). A depth
  // without such an order stops.
  std::pair<std::map<Polyhedron*, Expression*>, std::map<int, int>> rank(int depth);
  // The matching volume between "/---" and "\---" lines on standard output.
  void print_volume(std::set<int> counters);
  void print_volume(std::set<Expression*> counters);
  void print_volume(IndexFunction& f);
  void print_volume();
  // The symbolic upper, respectively lower, bound of a counter as a
  // polyhedron over the counter and the parameters, which every point of
  // this polyhedron satisfies whatever the parameters' signs: exact where
  // the solver's optimum is one piece, else the rational projection (a
  // little larger than the union of the pieces). A polyhedron without
  // point, or a counter without such a bound, stops the run (registers the
  // parameter "upper_bound", respectively "lower_bound", for good).
  Polyhedron* upper_bound(int counter);
  Polyhedron* lower_bound(int counter);
  // The volume of the bounding box of the projection onto the given
  // counters that occur in some constraint: the product of the non-zero
  // extents of its rational vertices, truncated toward zero; 0 for an empty
  // polyhedron. A parameter in some constraint stops the run (standard
  // output), as does an unbounded projection.
  int bounding_box_volume(std::set<int> counters);
  int bounding_box_volume();  // over every registered counter
  // The constraints of the one-counter projections onto the given counters
  // (those that occur, for no argument); a clone when empty.
  Polyhedron* bounding_box(std::set<int> counters);
  Polyhedron* bounding_box(std::vector<int> counters);
  Polyhedron* bounding_box();
  // bounding_box of each member, in order.
  static std::vector<Polyhedron*> boxify(const std::vector<Polyhedron*>& v, std::vector<int> counters);
  static std::vector<Polyhedron*> boxify(const std::vector<Polyhedron*>& v);

  // ---- simplification of a union of tiled domains ----
  // (Polyhedron(), 1) when some member is the universe, else
  // simplify(domains, {}, {}, {}).
  static std::pair<Polyhedron*, int> simplify_direct(const std::vector<Polyhedron*>& domains);
  // (bounded envelope of the members, 0), with a trace on standard error;
  // the three vectors are not used.
  static std::pair<Polyhedron*, int> simplify(const std::vector<Polyhedron*>& domains,
                                              std::vector<int> tile_counter, std::vector<int> tile_size,
                                              std::vector<int> inner_counter);
  // One polyhedron holding the union: the hull of every member's inner
  // counters measured from each tile origin (counters "delta__k",
  // registered for good), cut by the hull of the tile domains. Traces on
  // standard error.
  static Polyhedron* _simplify(const std::vector<Polyhedron*>& domains, std::vector<int> tile_counter,
                               std::vector<int> tile_size, std::vector<int> inner_counter);

 private:
  // The guard of the operations over single polyhedra: stops with
  // "Polyhedron::<operation>: expect single polyhedra" when p, respectively
  // a member of v, is a Domain, whose own constraint list is empty and
  // would read as the universe. Returns its argument.
  static Polyhedron* expect_single(Polyhedron* p, const std::string& operation);
  static const std::vector<Polyhedron*>& expect_single(const std::vector<Polyhedron*>& v,
                                                       const std::string& operation);
  friend int operator==(Polyhedron& p, Polyhedron& q);
  friend Polyhedron* operator+(Polyhedron& p, Polyhedron& q);
  friend void check(const std::vector<Polyhedron*>& domain, std::string msg);
  friend int is_empty_clause(const std::map<Polyhedron*, Expression*>& m);
  friend std::map<Polyhedron*, Expression*> simplify(const std::map<Polyhedron*, Expression*>& m);
  friend std::map<Polyhedron*, Expression*> operator+(const std::map<Polyhedron*, Expression*>& p1,
                                                      const std::map<Polyhedron*, Expression*>& p2);

  // The flag-less rows of one constraint; a non-affine one stops the run.
  static std::vector<std::vector<int>> constraint_rows(Inequation* c);
  int cache_is_valid();
  std::vector<std::vector<int>> compact(const std::vector<int>& C, const std::vector<int>* P);
  void widen_and_build(const std::vector<std::vector<int>>& M, const std::vector<int>& C,
                       const std::vector<int>& P, const std::string& who);
  void build_from_rows(const std::vector<std::vector<int>>& M);
  std::set<int> rewrite_divs();
  // The tagged lexicographic minimum with every parameter free as well.
  Quast* min_lex_free_parameters(std::vector<int> counters, int stmt);
  // The tagged lexicographic maximum (counters free) with every parameter
  // free.
  Quast* max_lex_free_parameters(std::vector<int> counters, int stmt);
};

// The polyhedron of an XML element, new and owned by the caller: null for an
// element without content, a Domain for an element with a "domain" child,
// else a plain Polyhedron. Every reader of a Polyhedron* goes through this.
void from_xml(Polyhedron*& p, const Xml& node);

// New polyhedra holding 0 >= 0, respectively 0 > 0.
Polyhedron* universe();
Polyhedron* empty();

// New polyhedron: copies of a then b.
Polyhedron* operator&&(Inequation& a, Inequation& b);
// New polyhedron: constructor 5 on p, then a copy of b.
Polyhedron* operator&&(Polyhedron& p, Inequation& b);

// Row tests with the registry's current counts.
int is_context(const std::vector<int>& row);
int is_null(const std::vector<int>& row);
std::vector<int> add_one(std::vector<int> v);
std::vector<int> add_zero(std::vector<int> v);

// Release functions: delete every non-null element; the caller's container
// is left as it is and its pointers must not be used afterwards.
void del(std::list<Polyhedron*> l);
void del(std::vector<Polyhedron*> l);
void del(std::vector<std::vector<Polyhedron*>> l);
void del(std::map<int, Polyhedron*> m);
void del(std::map<Polyhedron*, Expression*> m);

// -1 for no member, else the largest dim() of the members.
int dim(std::vector<Polyhedron*> v);

// Iscc union of unnamed sets over the union's parameters and counters.
void print_iscc(std::ostream& os, const std::vector<Polyhedron*>& v);
// Each piece's box and expression, on standard output.
void print_volume(const std::map<Polyhedron*, Expression*>& m);
// The box form (slot 8), so a Domain writes its union.
std::ostream& operator<<(std::ostream& os, Polyhedron& p);

// ---- set difference ----
// subtract(&p, &q), the isl road.
std::vector<Polyhedron*> operator-(Polyhedron& p, Polyhedron& q);
// subtract(v, &q), the isl road.
std::vector<Polyhedron*> operator-(std::vector<Polyhedron*>& v, Polyhedron& q);
// The elements of a that are not in b.
std::set<int> operator-(std::set<int> a, std::set<int> b);
// The elements in ascending order.
std::vector<int> set_to_vec(std::set<int> s);

// ---- unions of polyhedra ----
// Every piece of p - q and of q - p (isl road) is empty; the pieces are
// released, also after the first non-empty one ends the test.
int operator==(Polyhedron& p, Polyhedron& q);
// Same size and, pairwise in order, Polyhedron::equals.
int equals(const std::vector<Polyhedron*>& a, const std::vector<Polyhedron*>& b);
// New polyhedron: clones of p's constraints, then of q's.
Polyhedron* operator+(Polyhedron& p, Polyhedron& q);
// The members' virtual clones, in order; a new vector of new polyhedra.
std::vector<Polyhedron*> clone(const std::vector<Polyhedron*>& v);
// Each member's substitute_counters, in order.
std::vector<Polyhedron*> substitute_counters(const std::vector<Polyhedron*>& v,
                                             std::map<int, Expression*> m);
// In place, moving pointers only: every value source_domain becomes
// target_domain, and the entry keyed by source_domain moves to the key
// target_domain (overwriting an entry there).
void substitute_domain(std::map<Polyhedron*, Polyhedron*>& m, Polyhedron* source_domain,
                       Polyhedron* target_domain);
// Sets of expressions: a new set of clones of a and b; a clone of e inserted
// into s itself, which is returned (a temporary set is moved on), so that
// a & b & c builds one set whose clones are freed once.
std::set<Expression*> operator&(Expression& a, Expression& b);
std::set<Expression*>& operator&(std::set<Expression*>& s, Expression& e);
std::set<Expression*> operator&(std::set<Expression*>&& s, Expression& e);
// Self-test of every member (check with an empty name), only while the
// option "check" is set, on standard output: a header naming msg when msg
// is not empty, each member's index on its own line, and a "** PASSED"
// footer.
void check(const std::vector<Polyhedron*>& domain, std::string msg);
// "(empty domain)" without line end for no member; otherwise the members'
// boxes, "U" and a line end between two members (vector) or after each
// member (list).
std::ostream& operator<<(std::ostream& os, const std::vector<Polyhedron*>& v);
std::ostream& operator<<(std::ostream& os, const std::list<Polyhedron*>& l);

// ---- piecewise quasi-polynomials ----
// A map from polyhedra over the parameters to the expression that holds on
// each; the map owns keys and values, ordered by address. Results are new.

// {universe() -> 0}.
std::map<Polyhedron*, Expression*> empty_clause();
// One piece, a universe key and the constant 0.
int is_empty_clause(const std::map<Polyhedron*, Expression*>& m);
// Each key's simplify_chernikova() -> its value's simplify().
std::map<Polyhedron*, Expression*> simplify(const std::map<Polyhedron*, Expression*>& m);
// Each key's clone() -> its value's evaluate().
std::map<Polyhedron*, Expression*> clone(const std::map<Polyhedron*, Expression*>& m);
// The value at the given parameter values, truncated toward zero (an
// absent registered parameter is 0), of the first piece holding the point:
// computed exactly, and only the total truncated toward zero. No piece
// holding it stops with "Polyhedron::evaluate(): point out of range", a
// value that is not a constant with "Polyhedron::evaluate(): value is not a
// constant" (standard error).
int evaluate(const std::map<Polyhedron*, Expression*>& p, const std::map<int, double>& parameter);
// The piecewise sum: the sums on the non-empty intersections, then each
// operand's pieces outside them. The pieces are pairwise disjoint (for
// parameters >= 0) when each operand's are. Keys must speak of parameters
// only.
std::map<Polyhedron*, Expression*> operator+(const std::map<Polyhedron*, Expression*>& p1,
                                             const std::map<Polyhedron*, Expression*>& p2);
// A universe single piece: its value and a line end; one other piece:
// "/---", the key, the value and "\---", each on its own line; otherwise the
// pieces between "/---" and "\---", each followed by an empty line.
std::ostream& operator<<(std::ostream& os, const std::map<Polyhedron*, Expression*>& m);

// The min/max calls of C conditions (callee named exactly "min"/"max").
int is_min(SgNode* n);
int is_max(SgNode* n);
// First, respectively second, argument of a call: the call's own node,
// not a copy (syntax tree nodes are never freed).
SgExpression* get_lhs(SgNode* n);
SgExpression* get_rhs(SgNode* n);

#endif
