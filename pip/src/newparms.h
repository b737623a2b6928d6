// Affine forms of isl read as answer vectors [parameters | new parameters |
// constant], where every isl division becomes a new parameter of the tree.
#ifndef TARVEX_PIP_NEWPARMS_H
#define TARVEX_PIP_NEWPARMS_H

#include <vector>

#include "isl_handle.h"
#include "pip.h"

// An affine form over the parameter and new parameter columns, before its
// vector is laid out (the width grows while a node defines new parameters).
struct PipRow {
  std::vector<long long> num;  // one entry per column, missing ones 0
  std::vector<long long> den;  // same length; all 1 in integer forms
  long long constant_num = 0;
  long long constant_den = 1;
};

// The new parameters visible at a node: those of its ancestors, in rank
// order, then those it defines itself. A child starts from a copy.
class NewparmScope {
 public:
  explicit NewparmScope(int np) : np_(np) {}

  // aff (borrowed: integral coefficients, divisions allowed) as a row; each
  // division that no visible new parameter defines yet becomes one,
  // defined at the current node and appended to *chain (owned by the node).
  PipRow integer_row(isl_ctx *ctx, isl_aff *aff, PipNewparm **chain);

  // aff (borrowed, no division) with its rational coefficients.
  PipRow rational_row(isl_ctx *ctx, isl_aff *aff) const;

  // New vector of row laid out over the columns visible now; caller owns it.
  PipVector *vector(const PipRow &row) const;

  // New vector of the current width with every numerator and denominator 0:
  // the mark of an unbounded unknown. Caller owns it.
  PipVector *unbounded_marker() const;

 private:
  struct Definition {
    std::vector<long long> num;  // columns before the new parameter's own
    long long constant;
    long long deno;
  };

  int column_of_div(isl_ctx *ctx, isl_aff *aff, int div, std::vector<int> &columns,
                    PipNewparm **chain);
  void add_integer_term(isl_ctx *ctx, isl_aff *aff, long long scale, PipRow &row,
                        std::vector<int> &columns, PipNewparm **chain);
  int find(const Definition &d) const;
  int width() const { return np_ + static_cast<int>(defs_.size()) + 1; }

  int np_;
  std::vector<Definition> defs_;
};

#endif
