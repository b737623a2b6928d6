#ifndef TARVEX_LAST_MODE_H
#define TARVEX_LAST_MODE_H
// The last mode of code generation, for nests whose exact forms exceed the
// code generator's budgets: each tiled statement scans one convex superset
// of its domain, within the cell of its tiling, and its macro tests every
// point against its original domain (see InstanceGuard). The code
// generator's work on one polyhedron per statement does not grow with the
// pieces of the tiled domains, and the test costs a few integer operations
// per point.
#include <string>
#include <vector>

class Program;

// Per statement of the tiled program, the domain it scans in the last mode,
// in isl's syntax under the tuple S<i>; "" for a statement that scans its
// own domain in that mode too: an untiled one, a parametric one of a single
// piece, one whose domain is a superset already, a constant one whose
// tiles do not bound every loop counter, or one whose superset isl does not
// find within its budget.
//
// The superset of a parametric tiling is the simple hull of its pieces. A
// constant tiling's domain is a single polyhedron, but the code generator
// can take minutes on it: its superset scans the tiles of a box, the bounds
// of each tile counter over the domain, and the points of each tile.
std::vector<std::string> last_mode_domains(const Program& program);

// Per statement, the domain it scans in the box form of the last mode,
// which the code generator takes when even the domains of `last` (those
// of last_mode_domains) exceed its budget: "" where `last` has none, but
// for a statement whose domain is a superset already (past its crossing
// budget), which scans the box of that superset. The box bounds each
// counter by the parameters only, over the last-mode domain, within the
// tiling's cell; its points are tested as in the last mode. A constant
// tiling scans the box of its original counters over its domain within
// its cell (each point in its tile) rather than its box of tiles: the
// constraints of its domain that bound the tiles' points cost
// the code generator most with large tile sizes (tiles of a million along
// skewed hyperplanes took it past 10 million operations; the box of points
// a tenth of a second). A last-mode domain whose box isl does not find
// within its budget is kept.
std::vector<std::string> box_mode_domains(const Program& program, const std::vector<std::string>& last);

// The script's "bounds" statements of statement i (with `in_else`, in the
// else schedules only), given its last-mode domain `last` ("" for none):
// each original counter, as its macro rebuilds it, lies between its least
// and largest value over the statement's original domain, and each other
// argument of its macro (a tile or point counter) between its least and
// largest value over a superset of its instances; so does each combination
// of original counters, respectively of other arguments, that a
// constraint of that domain names (j - i for j from i - 1 to i + 1), which
// bounds a counter given the outer ones. The code generator clamps the
// loops of a scan by them, so that it does not run every point of each
// tile that a superset meets, nor every tile between those that hold
// instances.
std::string statement_bounds(const Program& program, size_t i, bool in_else, const std::string& last);

#endif
