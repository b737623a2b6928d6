// A pip_solve call after its arguments have been checked: sizes, modes and
// the sets it describes over isl.
#ifndef TARVEX_PIP_PROBLEM_H
#define TARVEX_PIP_PROBLEM_H

#include <string>

#include "isl_handle.h"
#include "pip.h"

struct PipProblem {
  const PipMatrix *rows;     // borrowed: [flag | unknowns | parameters | constant]
  const PipMatrix *context;  // borrowed, NULL for none: [flag | parameters | constant]
  int np;                    // parameters
  int nn;                    // unknowns
  bool integer;              // integer optimum (else rational)
  bool maximize;
  bool urs_parms;            // parameters may be negative
  bool free_unknowns;        // unknowns may be negative
};

// The checked arguments of pip_solve (borrowed, not copied). Invalid input
// ends the run with a message.
PipProblem pip_problem_read(PipMatrix *problem, PipMatrix *context, int bignum,
                            PipOptions *options);

// True when the context has at least one row.
bool pip_problem_has_context_rows(const PipProblem &problem);

// K: the integer parameter points allowed by the context rows and the sign
// of the parameters, as a parameter set. Caller owns it.
Isl<isl_set> pip_context_set(isl_ctx *ctx, const PipProblem &problem);

// S: the points of the problem rows, the unknowns' signs and K, over the
// unknowns x0.. and parameters p0..; rational in rational mode.
Isl<isl_set> pip_problem_set(isl_ctx *ctx, const PipProblem &problem);

// The cone of the problem's unknowns (rows without parameters and
// constants, unknowns' signs) plus the constraints in extra (isl syntax over
// x0..), as an integer set without parameters.
Isl<isl_set> pip_recession_cone(isl_ctx *ctx, const PipProblem &problem,
                                const std::string &extra);

#endif
