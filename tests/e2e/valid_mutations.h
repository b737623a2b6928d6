// Mutations that keep an input a valid program whose tiling stays legal
// (the tiles still respect its dependences), so that the fuzz test can
// compare the tiled code's results with the mutated original's. They aim at
// the names, parts and calls that the tiled code has to keep apart:
//   rename    a size parameter, loop counter, array, scalar or function
//             renamed to a name like the ones the tiled code generates
//             (outer_N, inner_time_0, tile_counter_0, S0, c1, time_0...);
//   call      a call added to a statement: functions of the input, pure or
//             counting and printing their calls, and its own min/max;
//   offset    a loop's counter shifted by a constant, up to near INT_MIN
//             and INT_MAX, every use in its body shifted back;
//   constant  a size parameter in a loop bound replaced by a constant;
//   retile    other tile sizes or ratios; constant and rectangular
//             parametric tiling swapped; a rectangular tiling rewritten as
//             the general tiling (shape and lattice) of the same tiles;
//   parts     a static control part repeated after itself, split in two,
//             or repeated in a second function, with or without leading
//             schedule dates that order the parts;
//   lone call a call standing alone as a statement (to be refused).
// The inputs are the examples: perfect nests of `for (i = lo; i < hi; i++)`
// loops, one statement per line after its directives, and comment lines
// "// params:", "// arrays:", "// values:" that the mutations keep in step.
#pragma once

#include <string>
#include <vector>

#include "mutation_text.h"

// Applies one to three such mutations to `text`; returns their labels.
std::vector<std::string> mutate_validly(std::string& text, Random& rng);
