#ifndef TARVEX_GENERATED_NAME_H
#define TARVEX_GENERATED_NAME_H

#include <sstream>
#include <string>

// Generated names (counters, parameters, buffered arrays) are composed in a
// text stream and read back as one word, so that a name never holds white
// space: a prefix is cut at its first blank. Returns a new string; the stream
// is only read.
std::string first_word(const std::ostringstream& composed);

// The names the tiling pass makes up for the tiled code, one family per
// kind (k, d and v are decimal numbers, c, p and w names of the input):
//
//   tile_counter_<k>                    tile counters of constant tilings
//   outer_time_<d>, inner_time_<d>      tile and inner counters of rectangular tilings
//   outer_<k>                           lattice counters of general tilings
//   lattice_offset_<k>                  their offsets, for denominators above 1
//   inner_<c>                           inner counter of loop counter c (general tilings)
//   outer_<p>, inner_<p>                splits of size parameter p
//   outer_<v>_const, inner_<v>_const    splits of the hidden constant v
//   inner_0_<w>                         alias of w, an isl keyword, in isl's texts
//   inner_<k>_<w>, k >= 1               a local w that needs a name of its own
//
// After outer_ or inner_, a number alone, a number followed by _const, 0
// followed by _ and a keyword, another number followed by _ and a name (no
// name is "const"), time_ followed by a number, and a name of the input
// tell the families apart,
// as long as no input name begins with outer_ or inner_ or is time_<d>,
// tile_counter_<k> or lattice_offset_<k>: reserved_name_reason tells why
// such a name is reserved. The statement macros S<i> are function-like:
// only a call of that name would meet one.

std::string tile_counter_name(int k);
std::string time_counter_name(bool outer, int d);
std::string lattice_counter_name(int k);
std::string lattice_offset_name(int k);
std::string inner_counter_name(const std::string& counter);
// The split of a size parameter or of a hidden constant, by its registry
// name.
std::string split_name(bool outer, const std::string& parameter);

// A hidden constant (a large constant term handed to the tiling library as
// a parameter) is registered under its decimal value, a name that no input
// variable can take. It is positive, so it needs no run-time check and is
// never aligned on block_size.
std::string hidden_constant_name(int value);
bool is_hidden_constant(const std::string& parameter);

// isl reads some words as its own keywords, in any letter case (rat,
// infty, exists, NaN, Floor...), where a name is expected. A counter or
// parameter of the input so named is written under its alias in every
// text isl reads: isl_name gives the name to write, the name itself for
// any other name. input_name gives the input name of an alias back, and
// any other name as it is: the loop nest iscc prints names parameters by
// their aliases.
std::string isl_name(const std::string& name);
std::string input_name(const std::string& isl_name);

// The name of the k-th local (k >= 1) that the tiled code keeps apart from
// another local of the input's name `local`, which would otherwise be the
// same variable at file scope (LocalNames), and whether `name` is such a
// name.
std::string own_local_name(int k, const std::string& local);
bool is_own_local_name(const std::string& name);

// Why an input may not use `name`, or "" when it may.
std::string reserved_name_reason(const std::string& name);

#endif
