// Parametric lexicographic extrema of a polyhedronZIL through the parametric
// integer programming layer, reduced to one affine answer per unknown.
//
// An answer matrix has one malloc'd row per unknown; each row holds nParam + 1
// rationals: the coefficient of every parameter, then the constant. The
// caller frees it with freeMatrix(answer, rowCount). A denominator 0 marks an
// unbounded optimum. Inputs are never changed or freed.
#ifndef TARVEX_ZIL_LEXMIN_H
#define TARVEX_ZIL_LEXMIN_H

#include "linAlg.h"
#include "pip.h"

// Lexicographic maximum (bmax) or minimum of poly under context, which must
// have poly->nParam + 2 columns. Returns poly->nInd rows, owned by the caller;
// the context stays owned by the caller.
rational64 **lexminmax(polyhedronZIL *poly, PipMatrix *context, bool bmax);
// The same under the context "every parameter >= 0".
rational64 **lexminmax(polyhedronZIL *poly, bool bmax);
// The same under a context given as an integer constraint matrix
// [flag | parameters | constant] of nrow_context x ncol_context (not freed).
rational64 **lexminmax(polyhedronZIL *poly, long long **context, int nrow_context, int ncol_context,
                       bool bmax);

rational64 **lexmax(polyhedronZIL *poly);
rational64 **lexmin(polyhedronZIL *poly);
rational64 **lexmax(polyhedronZIL *poly, long long **context, int nrow_context, int ncol_context);
rational64 **lexmin(polyhedronZIL *poly, long long **context, int nrow_context, int ncol_context);

// Graph polyhedron of obj over dom, indices [y (dimOut) | x (nInd)]: the rows
// of dom, then f_i(x, N) - y_i == 0 for every output. New record, owned by the
// caller. obj must be integral.
polyhedronZIL *build_lexminmax_poly(affFuncZIL *obj, polyhedronZIL *dom);

// Lexicographic maximum / minimum of the outputs of obj over dom: obj->dimOut
// rows owned by the caller. Stops when an output is unbounded or dom is empty.
rational64 **max(affFuncZIL *obj, polyhedronZIL *dom);
rational64 **min(affFuncZIL *obj, polyhedronZIL *dom);
// The point of dom that comes with that maximum / minimum: dom->nInd rows
// owned by the caller. Stops when a coordinate is unbounded or dom is empty.
rational64 **argmax(affFuncZIL *obj, polyhedronZIL *dom);
rational64 **argmin(affFuncZIL *obj, polyhedronZIL *dom);

// New copy of the first / last nIndProj rows (nCol_sol_lex entries each) of
// an answer of nRow_sol_lex rows; the input stays owned by the caller.
rational64 **project_begin_sol(rational64 **sol_lex, int nIndProj, int nCol_sol_lex, int nRow_sol_lex);
rational64 **project_end_sol(rational64 **sol_lex, int nIndProj, int nCol_sol_lex, int nRow_sol_lex);

// One solution list for the whole tree: the coefficient-wise maximum (bmax)
// or minimum of the lists of all its leaves. New list (NULL when no leaf has
// a solution), released with pip_list_free; the tree is not changed.
PipList *flatten_quast(PipQuast *quast, bool bmax);
// New list merging two leaves' lists cell by cell; inputs unchanged.
PipList *merge_sols(PipList *sol_then, PipList *sol_else, bool bmax);
// New vector whose every entry is the larger (bmax) or smaller of the two
// entries at that position; an unbounded entry (denominator 0) always wins.
PipVector *merge_row_sols(PipVector *row_then, PipVector *row_else, bool bmax);

// Deep copies allocated with malloc, released with pip_list_free /
// pip_vector_free. NULL copies to NULL.
PipList *copy_pip_list(PipList *list);
PipVector *copy_pip_vector(PipVector *vector);

#endif
