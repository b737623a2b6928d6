// Loops clamped by the bounds of the statements they run. A statement that
// scans a convex superset of its domain tests each point in its macro; the
// script says, per statement, that a C value over the macro's arguments
// (an original counter, rebuilt from the tiled ones) lies between two C
// bounds over the parameters for every instance. A loop whose every call
// has such a value, affine in the loop's counter with a known integer
// coefficient, runs only over the counter's values that keep some call's
// value within its bounds: the scan's work then grows with the instances
// and the tiles they meet, not with the volume of a tile.
#ifndef ISCC_CLAMPS_H
#define ISCC_CLAMPS_H

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <isl/ast.h>

namespace iscc {

// lower <= value <= upper for every instance, each a C text; the value over
// `formals`, the macro's arguments, the bounds over parameters only. An
// empty bound: none on that side.
struct Bound {
  std::vector<std::string> formals;
  std::string lower, value, upper;
};

// The bounds of each statement, by name (S0).
using StatementBounds = std::map<std::string, std::vector<Bound>>;

// The C text of `tree` (kept), as isl prints it but for the for loops that
// `bounds` clamps: such a loop starts at the least counter value that some
// call beneath it may run and stops after the largest, within isl's own
// bounds; where its calls run far apart values, it runs the span of each
// call only. The names it declares besides the loop counters are none of
// `taken` (those of the script). Nothing when isl fails to print it.
// `base`, else the first of base_0, base_1, ... that `taken` does not
// hold: a name that means nothing else in a text whose names are `taken`.
std::string name_apart(const std::string& base, const std::set<std::string>& taken);

std::optional<std::string> print_clamped(isl_ast_node* tree, const StatementBounds& bounds,
                                         const std::set<std::string>& taken = {});

}  // namespace iscc

#endif
