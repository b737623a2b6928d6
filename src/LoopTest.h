#ifndef TARVEX_LOOP_TEST_H
#define TARVEX_LOOP_TEST_H

// The iterations of a loop `for (c = start; test; c++)` as constraints.
// C stops the loop at the first counter value that fails its test, so the
// test is not a constraint on every iteration: a part of it that holds for
// every larger counter once it holds (a lower bound such as c >= M) holds
// along the whole loop exactly when it holds at the start, and a part that
// holds for every smaller counter (an upper bound such as c < N) ends the
// loop. The loop runs c from start for as long as its upper parts hold, and
// not at all when a lower part fails at the start.

#include <string>

class Polyhedron;
class SgExpression;

// The constraints of the loop over counter `counter` (a registry rank)
// besides c >= start: the test's upper parts and the parts without c as
// they stand, an equality as it stands and with its lower half at the
// start, and the lower parts with c replaced by `start`. Divisions stay
// the model's floors, to be read as C's later with the rest of the domain.
// The caller owns the result; `test` and `start` stay the caller's. Stops
// the run with a message at `location` ("file:line") for a test that is
// not comparisons joined by &&, for a part that is neither a lower nor an
// upper bound on the counter, and for a lower part under a start that is a
// max (it must hold at one of the arguments: a union), unless it holds at
// one of them whatever the values are.
Polyhedron* loop_test_domain(SgExpression* test, SgExpression* start, int counter, const std::string& location);

#endif
