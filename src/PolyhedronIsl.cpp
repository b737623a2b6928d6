// Coalescing and gist of unions of polyhedra through isl.

#include <iostream>

#include "ISLWrapper.h"
#include "Options.h"
#include "Polyhedron.h"
#include "Stop.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

std::vector<Polyhedron*> clones(const std::vector<Polyhedron*>& v) {
  std::vector<Polyhedron*> r;
  for (Polyhedron* p : v) r.push_back(p->clone());
  return r;
}

// A Domain's own constraint list is empty and would read as the universe.
void check_single(const std::vector<Polyhedron*>& v, const std::string& message) {
  for (Polyhedron* p : v)
    if (!p->is_single_polyhedron()) stop(std::cerr, message);
}

std::vector<Rows> matrices(const std::vector<Polyhedron*>& v, const std::set<int>& c, const std::set<int>& p) {
  std::vector<Rows> r;
  for (Polyhedron* member : v) r.push_back(member->to_matrix(c, p));
  return r;
}

std::vector<Polyhedron*> polyhedra(const std::vector<Rows>& pieces, const std::set<int>& c, const std::set<int>& p) {
  std::vector<Polyhedron*> r;
  for (const Rows& m : pieces) r.push_back(new Polyhedron(m, c, p));
  return r;
}

}  // namespace

std::vector<Polyhedron*> Polyhedron::coalesce(const std::vector<Polyhedron*>& domain) {
  if (Options::option["no-coalesce"]) return clones(domain);
  check_single(domain, "Polyhedron::coalesce: expect single polyhedra");
  std::set<int> c = get_counters(domain), p = get_parameters(domain);
  std::vector<Rows> pieces = ISLWrapper::coalesce(matrices(domain, c, p), c.size(), p.size());
  return polyhedra(pieces, c, p);
}

std::vector<Polyhedron*> Polyhedron::gist(const std::vector<Polyhedron*>& domain,
                                          const std::vector<Polyhedron*>& context) {
  if (Options::option["no-gist"]) return clones(domain);
  check_single(domain, "Polyhedron::gist: expect single polyhedra");
  check_single(context, "Polyhedron::gist: expect single polyhedra");
  std::vector<Polyhedron*> both = domain;
  both.insert(both.end(), context.begin(), context.end());
  std::set<int> c = get_counters(both), p = get_parameters(both);
  std::vector<Rows> pieces =
      ISLWrapper::gist(matrices(domain, c, p), matrices(context, c, p), c.size(), p.size());
  return polyhedra(pieces, c, p);
}

std::vector<Polyhedron*> Polyhedron::gist(const std::vector<Polyhedron*>& domain, Polyhedron* context) {
  return gist(domain, std::vector<Polyhedron*>{context});
}

Polyhedron* Polyhedron::gist(Polyhedron* p, Polyhedron* context) {
  std::vector<Polyhedron*> pieces = gist(std::vector<Polyhedron*>{p}, std::vector<Polyhedron*>{context});
  if (pieces.size() == 1) return pieces[0];
  // Zero or several pieces: the caller gets p back, the pieces are freed.
  del(pieces);
  return p->clone();
}
