#ifndef TARVEX_TESTS_POLYHEDRON_BUILDERS_H
#define TARVEX_TESTS_POLYHEDRON_BUILDERS_H

// Polyhedra of constraint lists and their text, for the polyhedron tests.

#include <initializer_list>
#include <string>

class Inequation;
class Polyhedron;

// A new polyhedron, owned by the caller, holding copies of the given
// constraints; the constraints themselves are freed.
Polyhedron* poly(std::initializer_list<Inequation*> cs);

// The boxed text form of p (Polyhedron::print); p stays the caller's.
std::string box(Polyhedron* p);

#endif
