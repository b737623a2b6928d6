#ifndef TARVEX_POLYLIB_WRAPPER_H
#define TARVEX_POLYLIB_WRAPPER_H

// The bridge to PolyLib. Constraint matrices cross it as integer matrices
// [flag | counters | parameters | constant] (flag 0: row == 0, flag 1:
// row >= 0); PolyLib's own types stay inside PolylibWrapper.cpp, so this header
// can be included next to the system's Polyhedron and Domain classes.
//
// Every failure prints its message and ends the process with status 1.

#include <list>
#include <set>
#include <utility>
#include <vector>

// ---- Ehrhart counting results, copied out of PolyLib ----
// Plain records, each record and array malloc'ed on its own; whoever receives
// a tree from PolylibWrapper::volume owns and frees all of it.

typedef long long YEB_Value;

typedef enum { YEB_polynomial = 0, YEB_periodic = 1, YEB_evector = 2 } YEB_enode_type;

struct YEB__enode;

typedef struct YEB__evalue {
  YEB_Value d;  // denominator; 0 when x.p holds a node
  union {
    YEB_Value n;           // numerator, when d is not 0
    struct YEB__enode* p;  // node, when d is 0
  } x;
} YEB_evalue;

typedef struct YEB__enode {
  YEB_enode_type type;
  int size;          // number of entries of arr
  int pos;           // parameter position, from 1
  YEB_evalue** arr;  // size pointers to values
} YEB_enode;

typedef struct YEB__enumeration {
  int** ValidityDomain;  // nb_row rows [flag | parameters | constant]
  int nb_col;            // row width, 0 without rows
  int nb_row;
  YEB_evalue* EP;  // the quasi-polynomial valid on ValidityDomain
  struct YEB__enumeration* next;
} YEB_Enumeration;

// ---- free functions ----

// New array of malloc'ed rows holding m's entries; the caller frees every row
// and the array.
int** to_int_array(const std::vector<std::vector<int>>& m);
// A PolyLib value as int; a value outside the int range stops.
int get_int(long value);

// Release of a counting result: every record and array of the tree,
// following next; null does nothing.
void free_enumeration(YEB_Enumeration* e);
void free_evalue(YEB_evalue* e);
void free_enode(YEB_enode* n);
// A deep copy, in new records owned by the caller.
YEB_evalue* copy_evalue(const YEB_evalue* e);

class PolylibWrapper {
public:
  typedef std::vector<std::vector<int>> IntRows;

  // m (full registry width) projected onto the given counter ranks: the other
  // counters' columns come back 0; full width.
  static IntRows project(IntRows m, std::set<int> counters);
  // As project over the given counts, the kept generators mirrored in the
  // kept counters; rows of nb_counters + nb_parameters + 2 entries.
  static IntRows project_and_symetrize(IntRows m, std::set<int> counters, int nb_counters,
                                       int nb_parameters);
  // The hull of m and of its mirror image in all its counters.
  static IntRows symetrize(IntRows m, int nb_counters, int nb_parameters);
  // The convex hull of the union of the members (full width).
  static IntRows convex_hull(std::list<IntRows> members);
  // Rays and lines, respectively vertices of denominator 1, of m (full width)
  // as [counters | parameters].
  static IntRows get_rays_non_parametrized(IntRows m);
  static IntRows get_vertices_non_parametrized(IntRows m);
  // One (vertex matrix, validity domain matrix) pair per parametric vertex
  // of m (any width) over its last nb_parameters variables.
  static std::vector<std::pair<IntRows, IntRows>> get_vertices(IntRows m, int nb_parameters);
  // m (full width) without redundant constraints, equalities first.
  static IntRows simplify(IntRows m);
  // The Ehrhart quasi-polynomial of m ([flag | nb_active_counters counters |
  // all parameters | constant]), or null; the caller owns the tree. PolyLib
  // runs in a child process: where it fails (it asserts on a 64-bit
  // overflow, ending its process) the answer is null too. Its counts are not
  // always right: Polyhedron::volume checks them.
  static YEB_Enumeration* volume(IntRows m, int nb_active_counters);
  // What the counting of m (rows as for volume) rests on, computed by PolyLib
  // in a child process; `computed` is false where PolyLib failed.
  struct ParametricDomains {
    bool computed = false;
    // The chambers: rows [flag | parameters | constant].
    std::vector<IntRows> chambers;
    // Per chamber, its parametric vertices: one row [parameters | constant |
    // denominator] per counter.
    std::vector<std::vector<IntRows>> vertices;
    // The equalities of m, implicit ones included.
    IntRows equalities;
  };
  static ParametricDomains parametric_domains(IntRows m, int nb_active_counters);
  // Pieces whose union is p1 minus p2 (rows as for volume).
  static std::vector<IntRows> subtract(IntRows p1, IntRows p2, int nb_active_counters);
  // [U, D, V] with a = U·D·V, D the Smith normal form.
  static std::vector<IntRows> snf(IntRows a);
  // [H, U, U_inv] with a·U = H and H·U_inv = a.
  static std::vector<IntRows> hnf(IntRows a);
  // PolyLib's inverse of the square matrix a (scaled when a is not
  // unimodular).
  static IntRows inv(IntRows a);
  // Number of counters minus the rank of the equalities of m (full width).
  static int dim(IntRows m);
  // Product of the non-zero extents of m's vertices; 0 without vertex.
  static int bounding_box_volume(IntRows m);
};

#endif
