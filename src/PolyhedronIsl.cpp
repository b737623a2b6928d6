// Coalescing and gist of unions of polyhedra through isl.

#include "ISLWrapper.h"
#include "Options.h"
#include "Polyhedron.h"

namespace {

typedef std::vector<std::vector<int>> Rows;

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
  if (Options::option["no-coalesce"]) return ::clone(domain);
  expect_single(domain, "coalesce");
  std::set<int> c = get_counters(domain), p = get_parameters(domain);
  std::vector<Rows> pieces = ISLWrapper::coalesce(matrices(domain, c, p), c.size(), p.size());
  return polyhedra(pieces, c, p);
}

std::vector<std::vector<Polyhedron*>> Polyhedron::coalesce_each(const std::vector<std::vector<Polyhedron*>>& unions) {
  std::vector<std::vector<Polyhedron*>> result;
  if (Options::option["no-coalesce"]) {
    for (const std::vector<Polyhedron*>& domain : unions) result.push_back(::clone(domain));
    return result;
  }
  // The model is read and built here only: the isl work alone runs apart.
  std::vector<ISLWrapper::CoalescingJob> jobs(unions.size());
  std::vector<std::pair<std::set<int>, std::set<int>>> columns;
  for (size_t k = 0; k < unions.size(); k++) {
    expect_single(unions[k], "coalesce");
    columns.emplace_back(get_counters(unions[k]), get_parameters(unions[k]));
    jobs[k].domain = matrices(unions[k], columns[k].first, columns[k].second);
    jobs[k].nb_counters = static_cast<int>(columns[k].first.size());
    jobs[k].nb_parameters = static_cast<int>(columns[k].second.size());
  }
  ISLWrapper::coalesce_all(jobs);
  for (size_t k = 0; k < unions.size(); k++)
    result.push_back(polyhedra(jobs[k].coalesced, columns[k].first, columns[k].second));
  return result;
}

Polyhedron* Polyhedron::simple_hull(const std::vector<Polyhedron*>& domain) {
  expect_single(domain, "simple_hull");
  std::set<int> c = get_counters(domain), p = get_parameters(domain);
  return new Polyhedron(ISLWrapper::simple_hull(matrices(domain, c, p), c.size(), p.size()), c, p);
}

std::vector<Polyhedron*> Polyhedron::gist(const std::vector<Polyhedron*>& domain,
                                          const std::vector<Polyhedron*>& context) {
  if (Options::option["no-gist"]) return ::clone(domain);
  expect_single(domain, "gist");
  expect_single(context, "gist");
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
