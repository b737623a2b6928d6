#ifndef TARVEX_TRUNCATED_DIVISION_H
#define TARVEX_TRUNCATED_DIVISION_H

// C's integer division truncates toward zero, while a division in the model
// (and in isl's syntax) is a floor. The two agree where the quotient is not
// negative; elsewhere the ceiling is C's value. A domain read from C bounds
// and conditions therefore stands for the union, over the signs of its
// quotients, of the pieces in which each division is a floor (quotient
// >= 0) or a ceiling (quotient < 0).

class Polyhedron;

// The set of points of `domain` (kept by the caller) with every division
// read as C reads it. A clone of `domain` when the floor reading already
// gives that set, which keeps the bounds as they were written; else a new
// Polyhedron (one piece) or Domain (several) whose divisions are floors.
// The caller owns the result. Stops the run when a division is not by a
// non-zero constant, or when a domain has more divisions than the pieces
// can be enumerated for.
Polyhedron* with_truncating_divisions(Polyhedron* domain);

#endif
