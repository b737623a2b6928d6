#include "PolyhedronBuilders.h"

#include <list>
#include <ostream>

#include "Inequation.h"
#include "Polyhedron.h"
#include "PolyhedronTestSupport.h"

Polyhedron* poly(std::initializer_list<Inequation*> cs) {
  std::list<Inequation*> l(cs);
  Polyhedron* p = new Polyhedron(l);
  for (Inequation* c : l) delete c;
  return p;
}

std::string box(Polyhedron* p) {
  return text_of([&](std::ostream& os) { p->print(os); });
}
