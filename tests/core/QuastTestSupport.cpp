#include "QuastTestSupport.h"

#include <cstdlib>
#include <stdexcept>

#include "CoreTest.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Quast.h"

int floor_value(const Expression* e, const std::map<int, int>& parameters,
                const std::map<int, int>& counters) {
  if (e->is_leaf) {
    if (e->is_counter) return counters.at(e->counter_rank);
    if (e->is_parameter) return parameters.at(e->parameter_rank);
    return e->val;
  }
  int a = floor_value(e->fg, parameters, counters);
  int b = floor_value(e->fd, parameters, counters);
  switch (e->op) {
    case PLUS: return a + b;
    case MINUS: return a - b;
    case TIMES: return a * b;
    case DIV:
    case FLOOR: return floor_div(a, b);
    default: throw std::logic_error("floor_value: unexpected operator");
  }
}

Quast* leaf_at(Quast* q, const std::map<int, int>& parameters) {
  while (q->is_if) {
    Inequation* c = q->condition;
    int value = floor_value(c->lhs, parameters) - floor_value(c->rhs, parameters);
    q = value >= 0 ? q->then_quast : q->else_quast;
  }
  return q->is_leaf ? q : nullptr;
}

PipVector* pip_vector(const std::vector<long long>& values, long long deno) {
  PipVector* v = static_cast<PipVector*>(std::malloc(sizeof(PipVector)));
  v->nb_elements = static_cast<int>(values.size());
  v->the_vector = static_cast<long long*>(std::malloc(sizeof(long long) * (values.size() + 1)));
  v->the_deno = static_cast<long long*>(std::malloc(sizeof(long long) * (values.size() + 1)));
  for (size_t i = 0; i < values.size(); i++) {
    v->the_vector[i] = values[i];
    v->the_deno[i] = deno;
  }
  return v;
}

PipList* pip_list(const std::vector<PipVector*>& vectors) {
  PipList* head = nullptr;
  for (auto it = vectors.rbegin(); it != vectors.rend(); ++it) {
    PipList* cell = static_cast<PipList*>(std::malloc(sizeof(PipList)));
    cell->vector = *it;
    cell->next = head;
    head = cell;
  }
  return head;
}

PipQuast* pip_node() { return static_cast<PipQuast*>(std::calloc(1, sizeof(PipQuast))); }

PipNewparm* pip_newparm(int rank, PipVector* vector, long long deno) {
  PipNewparm* np = static_cast<PipNewparm*>(std::calloc(1, sizeof(PipNewparm)));
  np->rank = rank;
  np->vector = vector;
  np->deno = deno;
  return np;
}
