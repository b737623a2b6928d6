// Constraint simplification through PolyLib.

#include "Inequation.h"
#include "Polyhedron.h"
#include "PolylibWrapper.h"

Polyhedron* Polyhedron::simplify_chernikova() { return new Polyhedron(PolylibWrapper::simplify(to_matrix())); }

Polyhedron* Polyhedron::filter_equalities() {
  Polyhedron* simplified = simplify_chernikova();
  Polyhedron* r = new Polyhedron();
  for (Inequation* c : simplified->constraints)
    if (c->pred == EQ) r->add_constraint(c);
  delete simplified;
  return r;
}
