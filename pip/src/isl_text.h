// Sets and forms written in isl's text syntax over the unknowns x0, x1, ..
// and the parameters p0, p1, ... Text is the one way isl 0.25 offers to
// state a rational set ("rat:").
#ifndef TARVEX_PIP_ISL_TEXT_H
#define TARVEX_PIP_ISL_TEXT_H

#include <string>
#include <vector>

#include "isl_handle.h"

// "x3" for ('x', 3).
std::string pip_name(char prefix, int i);

// "[p0, p1]" for ('p', 2).
std::string pip_tuple(char prefix, int n);

// "[p0, .., p(np-1)] -> ", or "" without parameters.
std::string pip_param_prefix(int np);

// "3*x0 - p1 + 2": coefs[i] times vars[i], then the constant ("0" if empty).
std::string pip_affine_text(const std::vector<long long> &coefs,
                            const std::vector<std::string> &vars, long long constant);

// The form followed by " = 0" or " >= 0".
std::string pip_constraint_text(const std::vector<long long> &coefs,
                                const std::vector<std::string> &vars, long long constant,
                                bool equality);

// params + "{ [rat: ]tuple : constraints }"; an empty tuple makes a
// parameter set. Caller owns the result; a parse failure ends the run.
Isl<isl_set> pip_read_set(isl_ctx *ctx, const std::string &params, bool rational,
                          const std::string &tuple,
                          const std::vector<std::string> &constraints);

#endif
