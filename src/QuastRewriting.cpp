// Walks that mark or rewrite the leaves of a quast, grafting of other trees
// onto its bottoms or leaves, and the substitution of parameters in every
// test and leaf.

#include <cstdlib>
#include <iostream>

#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Operation.h"
#include "Polyhedron.h"
#include "Quast.h"
#include "Stop.h"

// ---------------------------------------------------------------------------
// In-place walks

void Quast::tag(int r) {
  if (is_leaf) {
    is_tagged = 1;
    read_rank = r;
  } else if (is_if) {
    then_quast->tag(r);
    else_quast->tag(r);
  }
}

void Quast::set_read_rank(int r) {
  if (is_leaf) {
    read_rank = r;
  } else if (is_if) {
    then_quast->set_read_rank(r);
    else_quast->set_read_rank(r);
  }
}

void Quast::remove_read_rank(int r) {
  if (is_leaf) {
    if (read_rank == r) become_bottom();
  } else if (is_if) {
    then_quast->remove_read_rank(r);
    else_quast->remove_read_rank(r);
  }
}

void Quast::nullify_leaves(int d) {
  if (is_leaf) {
    if (!is_tagged) stop(std::cout, "Quast::nullify_leaves: Quast is not tagged");
    expect_entry(d, "nullify_leaves");
    delete point->index_mapping[d];
    point->index_mapping[d] = new Expression(0);
  } else if (is_if) {
    then_quast->nullify_leaves(d);
    else_quast->nullify_leaves(d);
  }
}

void Quast::set_bottom_value(std::string s) {
  if (is_empty) {
    bottom_value = s;
  } else if (is_if) {
    then_quast->set_bottom_value(s);
    else_quast->set_bottom_value(s);
  }
}

void Quast::make_empty() {
  if (!is_empty) become_bottom();
}

// ---------------------------------------------------------------------------
// Grafting

Quast* Quast::put_to_bottoms(Quast* r) {
  if (is_empty) return r->clone();
  if (is_leaf) return clone();
  return with_subtrees(then_quast->put_to_bottoms(r), else_quast->put_to_bottoms(r));
}

Quast* Quast::put_to_leaves(std::vector<Quast*> qs, std::vector<int> params) {
  if (is_empty) return clone();
  if (is_if)
    return with_subtrees(then_quast->put_to_leaves(qs, params), else_quast->put_to_leaves(qs, params));
  if (!is_tagged) stop(std::cout, "Quast::put_to_leaves: Quast not tagged");
  expect_bounded("put_to_leaves");
  if (stmt < 0 || stmt >= static_cast<int>(qs.size()) || qs[stmt] == nullptr)
    stop(std::cout, "Quast::put_to_leaves: no quast for statement " + std::to_string(stmt));
  if (static_cast<int>(params.size()) < point->size())
    stop(std::cout, "Quast::put_to_leaves: too few parameters");
  std::map<int, Expression*> m;
  for (int i = 0; i < point->size(); i++) {
    delete m[params[i]];
    m[params[i]] = point->index_mapping[i]->clone();
  }
  Quast* grafted = qs[stmt]->substitute_parameters(m);
  del(m);
  return grafted;
}

// ---------------------------------------------------------------------------
// Substitutions

Quast* Quast::substitute_parameters(std::map<int, Expression*> m) {
  if (is_empty) return clone();
  if (is_leaf) return leaf_with(point->substitute_parameters(m));
  if (!is_if) {
    std::cout << "Quast::substitute_parameters: bad quast" << std::flush;
    std::exit(1);
  }
  Quast* t = then_quast->substitute_parameters(m);
  Quast* e = else_quast->substitute_parameters(m);
  if (!has_extended_condition) return node_of(condition->substitute_parameters(m), t, e);
  return node_of(Polyhedron::substitute_parameters(extended_condition, m), t, e);
}

Quast* Quast::parameters_to_counters(std::map<int, int> pc) {
  std::map<int, Expression*> m;
  for (auto& renaming : pc) m[renaming.first] = Expression::from_counter_rank(renaming.second);
  Quast* renamed = substitute_parameters(m);
  del(m);
  return renamed;
}

namespace {

// Each key and operation rewritten by the given members; a bottom
// operation has no point to rewrite and is copied.
template <class KeyRewrite, class OperationRewrite>
std::map<Polyhedron*, Operation*> rewritten(const std::map<Polyhedron*, Operation*>& f, KeyRewrite key,
                                            OperationRewrite value) {
  std::map<Polyhedron*, Operation*> result;
  for (auto& piece : f) result[key(piece.first)] = piece.second->is_bottom ? piece.second->clone() : value(piece.second);
  return result;
}

}  // namespace

std::map<Polyhedron*, Operation*> Quast::parameters_to_counters(std::map<Polyhedron*, Operation*> f,
                                                                std::map<int, int> pc) {
  return rewritten(f, [&pc](Polyhedron* p) { return p->parameters_to_counters(pc); },
                   [&pc](Operation* o) { return o->parameters_to_counters(pc); });
}

std::map<Polyhedron*, Operation*> Quast::substitute_counters(std::map<Polyhedron*, Operation*> f,
                                                             std::map<int, Expression*> m) {
  return rewritten(f, [&m](Polyhedron* p) { return p->substitute_counters(m); },
                   [&m](Operation* o) { return o->substitute_counters(m); });
}
