// The names of iscc's loop nest against the names of the output file.
#ifndef TARVEX_ITERATOR_RENAMING_H
#define TARVEX_ITERATOR_RENAMING_H

#include <set>
#include <string>

// Returns a copy of `nest`, the loop nest printed by iscc, in which every
// iterator the nest declares ("long long <name>") whose name also occurs as an
// identifier in `head` (the declarations and statement macros written ahead
// of the nest) is renamed, at each of its uses, to a name found in neither
// text. The statement macros are expanded inside the nest, so without this a
// global such as `c1` read by a macro would silently read the loop iterator
// `c1` instead. Both arguments stay the caller's; the result is a new string.
std::string rename_clashing_iterators(const std::string& nest, const std::string& head);

// Returns a copy of `nest` in which every alias under which the script
// named an input name (see isl_name: a parameter `infty` is `inner_0_infty`
// there) is that name again.
std::string with_input_names(const std::string& nest);

// Returns a copy of `nest` computed in long long throughout: every integer
// constant gets the suffix LL, and every read of a name of `parameters` (an
// identifier not followed by "(", which would be a call of a macro or
// function of that name) becomes "((long long)<name>)". The nest forms sums
// and products of parameters, tile counters and block_size that the
// original never forms and that an int would not hold, and a call of the
// input's own min(int, int) must find the long long overload beside it.
std::string in_long_long(const std::string& nest, const std::set<std::string>& parameters);

#endif
