#ifndef TARVEX_INSTANCE_GUARD_H
#define TARVEX_INSTANCE_GUARD_H
// The test that a point of a tiled statement's domain is one of its
// instances, which lets the tiled code scan a convex superset of the domain
// instead of its pieces: a point of the tiled space stands for the
// original point that the statement macro rebuilds from it, and is an
// instance exactly when that original point lies in the statement's domain
// before tiling. Each original point must have one tiled point only: the
// superset must lie within the cell constraints, which put every original
// point in one tile (and at one lattice offset).
//
// Ownership: a guard owns clones of what it is given.
#include <map>
#include <ostream>

class Expression;
class Polyhedron;

class InstanceGuard {
public:
  // `domain`: the statement's domain before tiling (a union and integer
  // divisions allowed); `counters`: each of its counters as an expression
  // of the tiled counters, as the statement macro reads them (empty when
  // the tiling keeps the counters, as constant tiling does); `cell`: the
  // cell constraints over the tiled counters.
  InstanceGuard(Polyhedron* domain, const std::map<int, Expression*>& counters, Polyhedron* cell);
  ~InstanceGuard();
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  Polyhedron* domain() const { return domain_; }  // kept by the guard
  Polyhedron* cell() const { return cell_; }      // kept by the guard
  // The C condition in the tiled counters, for the body of the statement
  // macro whose arguments they are (each use parenthesised). It computes in
  // long long: the sums of a domain's constraints are the model's, which
  // the original program may never form, and the products of block_size
  // by tile counters must not overflow where an instance cannot lie.
  void print_condition(std::ostream& out) const;
  // The original counter of rank `rank` as the statement macro rebuilds it
  // from its arguments, in C, computed in long long.
  void print_counter(std::ostream& out, int rank) const;

private:
  Polyhedron* domain_;
  std::map<int, Expression*> counters_;
  Polyhedron* cell_;

  void print_conjunction(std::ostream& out, Polyhedron* p) const;
  void print(std::ostream& out, const Expression* e) const;
};

#endif
