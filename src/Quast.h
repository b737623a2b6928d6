#ifndef TARVEX_QUAST_H
#define TARVEX_QUAST_H

// Quasi-affine selection tree: the answer of a parametric integer program as
// a decision tree over the parameters. A node is a bottom (no solution), a
// leaf (a solution point, optionally tagged with a statement identity) or a
// test (an affine condition, or a union of polyhedra) with then and else
// subtrees.
//
// Ownership: a node owns its point, its test and its subtrees. Constructors
// clone what they are given, and every operation returning a Quast* returns
// a new tree owned by the caller. Copy assignment shares instead (it copies
// the pointers); the module counts the extra links to every shared object,
// and the destructor frees an object only when its last link goes. The
// in-place rewritings share the same way, and change no object that
// another link still reaches.

#include <list>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

class Condition;
class Expression;
class IndexFunction;
class Inequation;
class Operation;
class Polyhedron;
class Schedule;
struct pipquast;

class Quast {
 public:
  int is_empty;              // 1 for a bottom node
  std::string bottom_value;  // text attached to a bottom node
  int is_leaf;
  int is_tagged;                          // leaf with a statement identity
  std::vector<int> surrounding_counters;  // tagged leaf
  int stmt;                               // tagged leaf
  int read_rank;                          // tagged leaf, 0 unless given
  IndexFunction* point;                   // leaf, owned
  int is_if;
  Inequation* condition;  // plain test, owned
  Quast* then_quast;      // where the test holds, owned
  Quast* else_quast;      // where it fails, owned
  int is_then_dag;        // then_quast is a link to a shared subtree
  int is_else_dag;
  int has_extended_condition;
  std::vector<Polyhedron*> extended_condition;  // union test, each owned
  // Leaf of an unbounded optimum: its point's values are no numbers.
  int is_unbounded;

  // Bottom.
  Quast();
  // Untagged leaf of a clone of f.
  explicit Quast(IndexFunction* f);
  // Tagged leaf, read_rank 0.
  Quast(std::vector<int> counters, int stmt, IndexFunction* f);
  // Test nodes over clones of the test and of both subtrees.
  Quast(Inequation* c, Quast* t, Quast* e);
  Quast(std::vector<Polyhedron*> p, Quast* t, Quast* e);
  // Only the members that are not empty enter the test.
  Quast(std::list<Polyhedron*> p, Quast* t, Quast* e);
  // Trees of a solver answer, decoded through the compaction maps of the
  // solve that produced it. The answer stays the caller's and is not kept.
  // n: the first n vectors of every solution list are skipped.
  explicit Quast(pipquast* q);
  Quast(pipquast* q, int n);
  Quast(std::vector<int> counters, int stmt, pipquast* q);
  Quast(std::vector<int> counters, int stmt, pipquast* q, int n);
  Quast(std::vector<int> counters, int stmt, pipquast* q, int n, int read_rank);
  ~Quast();

  // Shares every pointer of other (one more link to each); the objects this
  // node held before are not released: the caller frees what it replaces.
  Quast& operator=(const Quast& other);
  // Copies are made with clone() or shared with operator=.
  Quast(const Quast&) = delete;

  // Deep copy without sharing or DAG flags.
  Quast* clone();
  int operator==(Quast& other);

  int empty();  // 1 when no leaf is reachable
  int is_extended();
  int is_comb();
  int is_constant(std::vector<int> v);
  int height();
  // Entry d of the leaves' points (d a counter rank of the dense point):
  // the largest non-negative constant, else the larger of the codes -1 for
  // bottom, -2 for a negative constant, -3 for an entry that is not a
  // constant. An unbounded leaf has no values and stops the run, as does a
  // d outside a point.
  int get_max_positive_constant_dim(int d);

  // Registers one more link to a shared object (subtree, test, extended-test
  // polyhedron, point), for the operations that share in place.
  static void add_link(const void* object);
  // Number of links to the object: 1 when it is not shared.
  static int links(const void* object);
  // Number of objects that are shared at all: 0 once every tree that shared
  // something has been deleted.
  static int shared_objects();

  // ---- conditions, bounds and simplification ----

  // New tree: t where c holds and e elsewhere, t and e cloned wherever they
  // are placed. c is consumed. The left operand's tests stand above the
  // right's; an equality becomes the two tests a >= b, then b >= a.
  static Quast* from_condition(Condition* c, Quast* t, Quast* e);
  // New polyhedron of the parameters containing every point where the tree
  // reaches a leaf (unbounded leaves included). It over-approximates: a test
  // whose two children are not bottom nodes gives the universe. A bottom
  // gives 0 > 0. An extended test above a bottom child stops the run.
  Polyhedron* existence_condition();
  // New expression: the maximum of entry d (a counter rank of the dense
  // point) over the leaves; null when the tree has no leaf. An unbounded
  // leaf, or a d outside a point, stops the run.
  Expression* get_max_positive_dim(int d);
  // In place: merges chains of tests whose else branches are bottom into
  // one extended test, the union of the pairwise conjunctions of the
  // merged tests.
  void compact();
  // New tree: the fixpoint of dropping tests whose two branches are equal;
  // a clone when the tree holds an extended test.
  Quast* simplify();
  // In place: pushes tests upward and prunes the branches that the tests
  // above them make unreachable, as many rounds as the tree is high. A
  // round can double the tree (nothing is pruned behind a shared link), so
  // the cost grows exponentially with the height.
  void local_simplify();
  // In place: one pruning pass with the universe as context.
  void local_one_pass_simplify();

  // ---- minimum and maximum ----
  // New trees that give, wherever both operands have a leaf, the earlier
  // (min) or the later (max) of the two statement instances, and the other
  // operand where one is bottom. The leaves compared must be tagged and
  // bounded. Operands are unchanged and appear as clones.

  // Sequential order: the values of the common loops' counters, then the
  // statement numbers; on a full tie min keeps q2 and max q1. Plain tests
  // only.
  static Quast* min(Quast* q1, Quast* q2);
  static Quast* max(Quast* q1, Quast* q2);
  // Schedule order: the dates that S[stmt] gives the leaves' points,
  // compared lexicographically over their common length; both kinds of
  // test. Where two dates are equal, the rule that meets the leaves decides
  // which one is kept. A statement without schedule stops the run.
  static Quast* min(std::vector<Schedule*> S, Quast* q1, Quast* q2);
  static Quast* max(std::vector<Schedule*> S, Quast* q1, Quast* q2);
  // The later instance on all but the first n dates of every schedule.
  static Quast* max(std::vector<Schedule*> S, int n, Quast* q1, Quast* q2);

  // ---- leaf rewriting and grafting ----
  // The walks change every leaf the same way, shared leaves included.

  void tag(int r);             // every leaf tagged, with read rank r
  void set_read_rank(int r);   // every leaf's read rank; tags unchanged
  void remove_read_rank(int r);  // leaves of read rank r become bottoms
  // Entry d of every leaf's point becomes 0; an untagged leaf, or a d
  // outside a point, stops the run.
  void nullify_leaves(int d);
  void set_bottom_value(std::string s);  // on every bottom node
  // Drops everything below the node, which becomes a bottom.
  void make_empty();
  // New trees (the receiver and the arguments are unchanged):
  // every bottom replaced by a clone of r;
  Quast* put_to_bottoms(Quast* r);
  // every tagged leaf replaced by qs[stmt] with params[i] set to entry i of
  // the leaf's point;
  Quast* put_to_leaves(std::vector<Quast*> qs, std::vector<int> params);
  // every test and point with the parameters of m substituted (the map's
  // expressions stay the caller's);
  Quast* substitute_parameters(std::map<int, Expression*> m);
  // parameter p renamed to counter pc[p].
  Quast* parameters_to_counters(std::map<int, int> pc);
  // New maps of renamed keys and operations (a bottom operation is
  // copied); the input and its entries are unchanged.
  static std::map<Polyhedron*, Operation*> parameters_to_counters(std::map<Polyhedron*, Operation*> f,
                                                                  std::map<int, int> pc);
  static std::map<Polyhedron*, Operation*> substitute_counters(std::map<Polyhedron*, Operation*> f,
                                                               std::map<int, Expression*> m);

  // ---- flattening ----
  // A piece is the polyhedron of the tests on a leaf's path (the test
  // nearest the leaf first) and the leaf's value. Maps are ordered by key
  // address. Every returned map holds fresh keys and values, which the
  // caller releases with del; the inputs stay unchanged, except that
  // union_flatten_point takes over the entries of both its maps.

  // The pieces of the tagged leaves, without the empty ones and the
  // bottoms, keys simplified. An operation is built from the leaf's stored
  // point and cannot carry the unbounded marker: the piece of an unbounded
  // leaf is kept, its key (where a solution exists) exact, its operation's
  // point no values.
  std::map<Polyhedron*, Operation*> flatten();
  // The same with the bottom pieces.
  std::map<Polyhedron*, Operation*> flatten_keep_bottoms();
  // The pieces that are not empty and meet context, bottoms included, each
  // with its own simplified key.
  std::map<Polyhedron*, Operation*> flatten(Polyhedron* context);
  static std::vector<std::map<Polyhedron*, Operation*>> flatten(std::vector<Quast*> quasts);
  // The raw pieces, nothing dropped or simplified; a bottom's piece has the
  // key without constraint and the bottom operation. An untagged leaf stops.
  std::map<Polyhedron*, Operation*> _flatten();
  // Copies of m whose keys are cut by c, by p, or by each member of u (one
  // piece per entry and member).
  static std::map<Polyhedron*, Operation*> restrict(std::map<Polyhedron*, Operation*> m, Inequation* c);
  static std::map<Polyhedron*, Operation*> restrict(std::map<Polyhedron*, Operation*> m, Polyhedron* p);
  static std::map<Polyhedron*, Operation*> restrict(std::map<Polyhedron*, Operation*> m,
                                                    std::vector<Polyhedron*> u);
  // Takes over the entries of both maps.
  static std::map<Polyhedron*, Operation*> union_flatten(std::map<Polyhedron*, Operation*> m1,
                                                         std::map<Polyhedron*, Operation*> m2);
  // The filters of the three flatten forms: without the empty pieces (and
  // the bottoms, for the first), keys simplified; the context form keeps
  // the pieces whose key meets context.
  static std::map<Polyhedron*, Operation*> simplify_flattened(std::map<Polyhedron*, Operation*> m);
  static std::map<Polyhedron*, Operation*> simplify_flattened_keep_bottoms(
      std::map<Polyhedron*, Operation*> m);
  static std::map<Polyhedron*, Operation*> simplify_flattened(std::map<Polyhedron*, Operation*> m,
                                                              Polyhedron* context);
  // The points of all leaves (tagged or not); bottoms give no piece. An
  // unbounded leaf stops the run.
  std::map<Polyhedron*, IndexFunction*> flatten_point();
  std::map<Polyhedron*, IndexFunction*> _flatten_point();
  static std::map<Polyhedron*, IndexFunction*> restrict_point(std::map<Polyhedron*, IndexFunction*> m,
                                                              Inequation* c);
  static std::map<Polyhedron*, IndexFunction*> restrict_point(std::map<Polyhedron*, IndexFunction*> m,
                                                              Polyhedron* p);
  // One piece per entry and member of u.
  static std::map<Polyhedron*, IndexFunction*> restrict_point(std::map<Polyhedron*, IndexFunction*> m,
                                                              std::vector<Polyhedron*> u);
  static std::map<Polyhedron*, IndexFunction*> union_flatten_point(
      std::map<Polyhedron*, IndexFunction*> m1, std::map<Polyhedron*, IndexFunction*> m2);
  // Without the empty pieces; keys simplified.
  static std::map<Polyhedron*, IndexFunction*> simplify_flattened_point(
      std::map<Polyhedron*, IndexFunction*> m);
  // The path polyhedra of the leaves, respectively of the bottom nodes, from
  // the root down; new polyhedra owned by the caller. The lists domain and
  // bottom_domain are only the walks' buffers. An extended test stops.
  std::vector<Polyhedron*> get_domains();
  std::vector<Polyhedron*> get_bottom_domains();
  // New tree without the branches whose path is empty; nothing is pruned
  // below an extended test.
  Quast* clean();
  // Number of nodes, a shared subtree once per link.
  int size();

  // ---- printing ----

  // Indented tree on os.
  void print_indent(std::ostream& os, std::string indent);
  // Debug tree: the frame on standard output, points and plain tests on
  // standard error.
  void print();
  void print_indent(std::string indent);
  // C-like decision code.
  void print_code(std::ostream& os);
  void print_code(std::ostream& os, std::string indent);
  // One-line conditional.
  void print_flat_code(std::ostream& os);
  // Each piece's key box and operation, then two line ends, on standard
  // output (operations frame there, their points go to standard error).
  static void print_flattened(std::map<Polyhedron*, Operation*> m);

 private:
  struct Decoding;
  Quast(pipquast* q, const Decoding& how, std::map<int, Expression*> newparm);
  void make_bottom();
  void make_leaf(IndexFunction* f);
  void decode(pipquast* q, const Decoding& how, std::map<int, Expression*> newparm);

  // New test nodes taking over (not cloning) their test and subtrees.
  static Quast* node_of(Inequation* c, Quast* t, Quast* e);
  static Quast* node_of(std::vector<Polyhedron*> p, Quast* t, Quast* e);
  // A new test node with a copy of this node's test over t and e, which it
  // takes over.
  Quast* with_subtrees(Quast* t, Quast* e);
  // A new leaf with this leaf's tags and marker, taking over p.
  Quast* leaf_with(IndexFunction* p);
  // The counted-link moves of the in-place rewritings. replace_by: this
  // node takes x's fields (one more link to each), then drops its links to
  // its old fields, x included when it was a child.
  void replace_by(Quast* x);
  void become_bottom();
  // A new node sharing every field of this one.
  Quast* shallow_copy();
  // Drops field's link and points it at q, with one more link to q or,
  // with adopt 1, taking over a new q.
  static void relink(Quast*& field, Quast* q, int adopt);
  // Before an in-place rewrite below a link: a subtree that another link
  // still reaches is replaced by a new node sharing its fields.
  static void unshare(Quast*& link);
  // Drops the links to this node's test (plain or extended).
  void drop_test();
  // New polyhedra: context with this node's plain test, and with its
  // negation.
  std::pair<Polyhedron*, Polyhedron*> split(Polyhedron* context);
  // Stops when the leaf holds no values.
  void expect_bounded(const std::string& operation);
  void expect_entry(int d, const std::string& operation);

  Quast* one_pass_simplify();
  void push();
  void push_then();
  void push_else();
  void push_through(Quast* Quast::*side);
  void local_one_pass_simplify_(Polyhedron* context);
  void keep_one_side(Quast*& side, int dag, Polyhedron* context);
  void skip_repeated_tests();
  // The height below each link; a shared (DAG) link counts as 1.
  int then_height();
  int else_height();
  std::vector<Polyhedron*> merged_test(Quast* t);
  // The larger (a when equal) and the smaller of two ints.
  static int max(int a, int b);
  static int min(int a, int b);
  static Quast* sequential(Quast* q1, Quast* q2, int earlier);
  static Condition* runs_before(Quast* q1, Quast* q2, const std::string& operation);
  static Quast* scheduled(const std::vector<Schedule*>& S, Quast* q1, Quast* q2, int earlier);
  static Quast* scheduled_leaves(const std::vector<Schedule*>& S, Quast* q1, Quast* q2, int earlier);
  static Quast* scheduled_tests(const std::vector<Schedule*>& S, Quast* q1, Quast* q2, int earlier);

  void gather_domains(Polyhedron* path, std::vector<Polyhedron*>& found, int at_leaves);
  Quast* clean_(Polyhedron* context);
};

// The tree form (print_indent with no indent).
std::ostream& operator<<(std::ostream& os, Quast& q);
// "Depth: " i, then tree i, for every tree.
std::ostream& operator<<(std::ostream& os, std::vector<Quast*> v);
// Key box, value, two line ends per piece; the vector forms end each map
// with a line end.
std::ostream& operator<<(std::ostream& os, std::map<Polyhedron*, Operation*> m);
std::ostream& operator<<(std::ostream& os, std::map<Polyhedron*, IndexFunction*> m);
std::ostream& operator<<(std::ostream& os, std::vector<std::map<Polyhedron*, Operation*>> v);
std::ostream& operator<<(std::ostream& os, std::vector<std::map<Polyhedron*, IndexFunction*>> v);

// The domain-gathering walks' lists; empty at start.
extern std::vector<Polyhedron*> domain;
extern std::vector<Polyhedron*> bottom_domain;

// Delete every element; the containers stay the caller's.
void del(std::vector<Quast*> v);
void del(std::map<Polyhedron*, IndexFunction*> m);
void del(std::map<Polyhedron*, Operation*> m);
void del(std::vector<std::map<Polyhedron*, Operation*>> v);

#endif
