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
// and the destructor frees an object only when its last link goes.

#include <map>
#include <list>
#include <string>
#include <vector>

class Expression;
class IndexFunction;
class Inequation;
class Operation;
class Polyhedron;
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

 private:
  struct Decoding;
  Quast(pipquast* q, const Decoding& how, std::map<int, Expression*> newparm);
  void make_bottom();
  void make_leaf(IndexFunction* f);
  void decode(pipquast* q, const Decoding& how, std::map<int, Expression*> newparm);
};

// The domain-gathering walks' lists; empty at start.
extern std::vector<Polyhedron*> domain;
extern std::vector<Polyhedron*> bottom_domain;

// Delete every element; the containers stay the caller's.
void del(std::vector<Quast*> v);
void del(std::map<Polyhedron*, IndexFunction*> m);
void del(std::map<Polyhedron*, Operation*> m);
void del(std::vector<std::map<Polyhedron*, Operation*>> v);

#endif
