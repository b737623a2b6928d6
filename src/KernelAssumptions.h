#ifndef TARVEX_KERNEL_ASSUMPTIONS_H
#define TARVEX_KERNEL_ASSUMPTIONS_H

// The parametric tilings hold only for some run-time values: every size
// parameter they split is >= 0 (its split into N / block_size and
// N % block_size, and the emptiness tests of the tiling, take it so),
// block_size is at least the minimum block size of the rectangular
// tilings (1 in a program without one), block_size is a multiple
// of the least common multiple of the general tilings' lattice denominators
// (so that every tile origin is an integer point), and with
// "-aligned-parameters" the rectangular tiling's sizes are multiples of
// block_size. The tiled kernel checks them on entry: a value that breaks
// one is named on standard error and the kernel returns without work,
// instead of computing something else.

#include <set>
#include <string>
#include <vector>

// One line of C++ per assumption, to open the kernel's body: block_size
// >= `least_block_size` first (the later checks divide by it), then
// block_size a multiple of `block_multiple` when that is above 1, then
// `sizes` >= 0, then `aligned` multiples of block_size. No line when
// `parametric` is false.
std::vector<std::string> assumption_checks(bool parametric, const std::set<std::string>& sizes,
                                           const std::set<std::string>& aligned, long long least_block_size,
                                           long long block_multiple);

#endif
