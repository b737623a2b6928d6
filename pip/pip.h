/* Parametric integer programming: lexicographic extrema of the integer (or
 * rational) points of a parametric polyhedron, answered as a decision tree
 * over the parameters.
 *
 * Plain C-style records in the global namespace. Every vector, each of its
 * two arrays, every list cell, new parameter and tree node is its own malloc
 * allocation; nothing is shared between nodes, so callers may copy, build
 * and release lists and vectors themselves with malloc and free. */
#ifndef TARVEX_PIP_H
#define TARVEX_PIP_H

#include <cstdio>

/* Constraint matrix, p[i][j]. p may be NULL when NbRows is 0. Problem rows
 * are [flag | unknowns | parameters | constant], context rows
 * [flag | parameters | constant]; flag 0 means "== 0", any other ">= 0". */
struct PipMatrix {
  unsigned NbRows, NbColumns;
  long long **p;
};

/* Affine form: numerators the_vector[i] over denominators the_deno[i]. */
struct PipVector {
  int nb_elements;
  long long *the_vector;
  long long *the_deno;
};

/* New parameter floor(vector . (parameters, earlier new parameters, 1) /
 * deno); rank is its column in the vectors below it. */
struct PipNewparm {
  int rank;
  PipVector *vector;
  long long deno;
  PipNewparm *next;
};

/* One cell per unknown of a leaf; vector NULL for the single cell of a
 * problem without unknowns. */
struct PipList {
  PipVector *vector;
  PipList *next;
};

/* Answer tree node. Nil (no solution): every pointer but father NULL.
 * Leaf: list set. Test: condition, next_then (where condition >= 0) and
 * next_else set. newparm, if any, is defined before the condition or list. */
struct pipquast {
  PipNewparm *newparm;
  PipList *list;
  PipVector *condition;
  struct pipquast *next_then, *next_else, *father;
};
typedef struct pipquast PipQuast;

/* Options. All fields are booleans (any non-zero value is true).
 * Nq: integer optimum (else rational). Maximize: lexicographic maximum
 * (unknowns are then free). Urs_parms / Urs_unknowns: parameters / unknowns
 * may be negative. Verbose, Simplify and Deepest_cut are accepted and have
 * no effect. */
struct PipOptions {
  int Nq, Verbose, Simplify, Deepest_cut, Maximize, Urs_parms, Urs_unknowns;
};

/* New zero-filled matrix; the caller frees it with pip_matrix_free. */
PipMatrix *pip_matrix_alloc(unsigned rows, unsigned cols);
/* Frees the matrix and its rows; NULL is allowed. */
void pip_matrix_free(PipMatrix *matrix);

/* New options with the defaults (Nq 1, everything else 0); the caller frees
 * them with pip_options_free. */
PipOptions *pip_options_init(void);
void pip_options_free(PipOptions *options);

/* Lexicographic optimum of problem under context (NULL: no parameter).
 * Reads its inputs and never changes or frees them. Returns a new tree the
 * caller frees with pip_quast_free; NULL exactly when the context has rows
 * and holds no integer parameter point. bignum must be -1. Invalid input or
 * an internal failure prints "pip_solve: <reason>" on standard error and
 * exits with status 1. */
PipQuast *pip_solve(PipMatrix *problem, PipMatrix *context, int bignum,
                    PipOptions *options);

/* Release a tree (with its new parameters, lists and vectors), a list (each
 * cell and its vector, which may be NULL) or a vector. NULL is allowed. */
void pip_quast_free(PipQuast *quast);
void pip_list_free(PipList *list);
void pip_vector_free(PipVector *vector);

/* Printers. A negative indent prints without indentation at any depth. */
void pip_quast_print(FILE *out, PipQuast *quast, int indent);
void pip_list_print(FILE *out, PipList *list, int indent);
void pip_newparm_print(FILE *out, PipNewparm *newparm, int indent);
void pip_vector_print(FILE *out, PipVector *vector);
void pip_matrix_print(FILE *out, PipMatrix *matrix);

#endif
