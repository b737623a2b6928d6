// Rewrite of the two-argument floor and ceil of the back end's scripts into
// the division form that isl reads.
#ifndef ISCC_FLOOR_CEIL_H
#define ISCC_FLOOR_CEIL_H

#include <string>

namespace iscc {

// Rewrites every call floor(X,Y) into floor((X)/Y) and ceil(X,Y) into
// ceil((X)/Y), inside X as well. Only the whole words floor and ceil
// directly followed by "(" are rewritten; one-argument calls are kept.
// Y must be a positive decimal integer: isl reads nothing else after "/".
// On success stores the rewritten text in `result` and returns true;
// otherwise stores the message in `error` and returns false. The caller
// owns both strings.
bool rewrite_floor_ceil(const std::string& text, std::string& result,
                        std::string& error);

}  // namespace iscc

#endif
