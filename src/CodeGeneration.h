#ifndef TARVEX_CODE_GENERATION_H
#define TARVEX_CODE_GENERATION_H

// Loop bounds for code generation over iteration domains: the constant
// interval of each counter (the bounding box of a domain or of a union),
// and the lower and upper bound expressions of one counter or of every loop
// of a nest that scans a domain.
//
// Counters whose interval is computed are first confined to
// [unbounded_below, unbounded_above]: an end at one of these sentinels means
// the domain does not bound the counter on that side. Only an upper end at
// the sentinel is reported; it stops the run while fail_on_unbounded is set.
//
// Failures write "CodeGeneration::<operation>: <reason>" and exit 1.

#include <map>
#include <string>
#include <utility>
#include <vector>

class Expression;
class Polyhedron;

const int unbounded_below = -2147483644;
const int unbounded_above = 2147483643;

// Counter name -> (lower end, upper end), both inclusive, in byte order of
// the names.
typedef std::map<std::string, std::pair<int, int>> Intervals;
// (lower bounds, upper bounds) of one counter: new expressions owned by the
// caller.
typedef std::pair<std::vector<Expression*>, std::vector<Expression*>> Bounds;

// The interval of each listed counter (registry ranks) over the domain's
// integer points; parameters are left free. A union domain gives the
// bounding box of its members.
Intervals get_counter_intervals(Polyhedron* domain, std::vector<int> counters);
// The same for every counter occurring in the domain.
Intervals get_counter_intervals(Polyhedron* domain);
// The bounding box of the union of the domains; none stops the run.
Intervals get_counter_intervals(std::vector<Polyhedron*> domains, std::vector<int> counters);
// Per counter of I1, the hull of its intervals in I1 and I2; a name missing
// from I2 stops the run, names only in I2 are dropped.
Intervals max_intervals(Intervals I1, Intervals I2);

// The bounds that p's own constraints state on the counter, constraint by
// constraint (a union domain states none).
Bounds get_bounds(Polyhedron* p, int counter);
// Entry i bounds the loop of counters[i] in a nest scanning p: p projected
// onto the surrounding counters and counters[0..i] (parameters kept).
std::vector<Bounds> scan(Polyhedron* p, std::vector<int> surrounding_counters,
                         std::vector<int> counters);

// "\nUnbounded iteration domain:\n", the domain and a line end on standard
// error.
void report_unbounded(Polyhedron* domain);

#endif
