// Contract checks of the tiling library stay active in every build type.
#undef NDEBUG

#include "lexmin.h"

#include <cassert>
#include <cstdlib>

#include "allocation.h"

// Exact comparison of two possibly unnormalised fractions with non-zero
// denominators: the sign of a/b - c/d.
static int compareFractions(long long a, long long b, long long c, long long d) {
  __int128 na = b < 0 ? -(__int128)a : (__int128)a;
  __int128 da = b < 0 ? -(__int128)b : (__int128)b;
  __int128 nc = d < 0 ? -(__int128)c : (__int128)c;
  __int128 dc = d < 0 ? -(__int128)d : (__int128)d;
  __int128 lhs = na * dc, rhs = nc * da;
  return lhs < rhs ? -1 : (lhs > rhs ? 1 : 0);
}

PipVector *copy_pip_vector(PipVector *vector) {
  if (vector == NULL) return NULL;
  PipVector *copy = static_cast<PipVector *>(allocArray(1, sizeof(PipVector)));
  int n = vector->nb_elements;
  copy->nb_elements = n;
  copy->the_vector = static_cast<long long *>(allocArray(n > 0 ? n : 0, sizeof(long long)));
  copy->the_deno = static_cast<long long *>(allocArray(n > 0 ? n : 0, sizeof(long long)));
  for (int j = 0; j < n; j++) {
    copy->the_vector[j] = vector->the_vector[j];
    copy->the_deno[j] = vector->the_deno[j];
  }
  return copy;
}

PipList *copy_pip_list(PipList *list) {
  PipList *head = NULL;
  PipList **tail = &head;
  for (PipList *it = list; it != NULL; it = it->next) {
    PipList *cell = static_cast<PipList *>(allocArray(1, sizeof(PipList)));
    cell->vector = copy_pip_vector(it->vector);
    cell->next = NULL;
    *tail = cell;
    tail = &cell->next;
  }
  return head;
}

// Entry j of the merge: an unbounded entry (denominator 0) wins in both
// directions, so the answer can never look finite where a branch is not.
// Ties go to then for a maximum and to else for a minimum.
static bool keepThenEntry(PipVector *row_then, PipVector *row_else, int j, bool bmax) {
  long long nt = row_then->the_vector[j], dt = row_then->the_deno[j];
  long long ne = row_else->the_vector[j], de = row_else->the_deno[j];
  if (dt == 0) return true;
  if (de == 0) return false;
  int cmp = compareFractions(nt, dt, ne, de);
  return bmax ? cmp >= 0 : cmp < 0;
}

PipVector *merge_row_sols(PipVector *row_then, PipVector *row_else, bool bmax) {
  assert(row_then->nb_elements == row_else->nb_elements);
  PipVector *merged = copy_pip_vector(row_then);
  for (int j = 0; j < merged->nb_elements; j++) {
    if (keepThenEntry(row_then, row_else, j, bmax)) continue;
    merged->the_vector[j] = row_else->the_vector[j];
    merged->the_deno[j] = row_else->the_deno[j];
  }
  return merged;
}

// A side without solution contributes nothing: the other side is copied.
PipList *merge_sols(PipList *sol_then, PipList *sol_else, bool bmax) {
  if (sol_then == NULL) return copy_pip_list(sol_else);
  if (sol_else == NULL) return copy_pip_list(sol_then);
  PipList *cell = static_cast<PipList *>(allocArray(1, sizeof(PipList)));
  if (sol_then->vector == NULL || sol_else->vector == NULL)
    cell->vector = copy_pip_vector(sol_then->vector != NULL ? sol_then->vector : sol_else->vector);
  else
    cell->vector = merge_row_sols(sol_then->vector, sol_else->vector, bmax);
  cell->next = merge_sols(sol_then->next, sol_else->next, bmax);
  return cell;
}

PipList *flatten_quast(PipQuast *quast, bool bmax) {
  if (quast->condition == NULL) return copy_pip_list(quast->list);
  PipList *sol_then = flatten_quast(quast->next_then, bmax);
  PipList *sol_else = flatten_quast(quast->next_else, bmax);
  PipList *merged = merge_sols(sol_then, sol_else, bmax);
  pip_list_free(sol_then);
  pip_list_free(sol_else);
  return merged;
}

static PipMatrix *toPipMatrix(long long **mat, int nRow, int nCol) {
  PipMatrix *pipMat = pip_matrix_alloc(nRow, nCol);
  for (int i = 0; i < nRow; i++)
    for (int j = 0; j < nCol; j++) pipMat->p[i][j] = mat[i][j];
  return pipMat;
}

// Copies the answer rows out of the flattened list. A zero denominator is
// copied as it is: it marks an unbounded unknown.
static rational64 **readAnswer(PipList *listSol, int nInd, int ncol_sol) {
  assert(listSol!=__null && "no solution");
  assert(listSol->vector!=__null && "no solution");
  assert(listSol->vector->nb_elements == ncol_sol);
  rational64 **answer = allocZeroRationalMatrix(nInd, ncol_sol);
  PipList *itSol = listSol;
  for (int r = 0; r < nInd; r++) {
    assert(itSol!=__null && itSol->vector!=__null && "no solution");
    assert(itSol->vector->nb_elements == ncol_sol);
    for (int j = 0; j < ncol_sol; j++) {
      answer[r][j].num = itSol->vector->the_vector[j];
      answer[r][j].den = itSol->vector->the_deno[j];
    }
    if (r + 1 < nInd) itSol = itSol->next;
  }
  assert(itSol->next==__null);
  return answer;
}

rational64 **lexminmax(polyhedronZIL *poly, PipMatrix *context, bool bmax) {
  assert(poly->nParam+2 == (int) context->NbColumns);
  assert(poly->nInd>0);
  int nCol = poly->nInd + poly->nParam + 2;
  PipMatrix *domain = toPipMatrix(poly->polyScalar, poly->nConstr, nCol);
  PipOptions *options = pip_options_init();
  options->Nq = 0;  // rational optimum: no new parameter is ever created
  options->Simplify = 1;
  options->Maximize = bmax ? 1 : 0;
  options->Urs_parms = -1;
  options->Urs_unknowns = -1;
  PipQuast *quast = pip_solve(domain, context, -1, options);
  // A NULL tree means that the context itself holds no integer point.
  assert(quast!=__null && "no solution");
  PipList *listSol = flatten_quast(quast, bmax);
  rational64 **answer = readAnswer(listSol, poly->nInd, poly->nParam + 1);
  pip_list_free(listSol);
  pip_quast_free(quast);
  pip_options_free(options);
  pip_matrix_free(domain);
  return answer;
}

rational64 **lexminmax(polyhedronZIL *poly, bool bmax) {
  int nParam = poly->nParam;
  PipMatrix *context = pip_matrix_alloc(nParam, nParam + 2);
  for (int j = 0; j < nParam; j++) {
    context->p[j][0] = 1;
    context->p[j][1 + j] = 1;
  }
  rational64 **answer = lexminmax(poly, context, bmax);
  pip_matrix_free(context);
  return answer;
}

rational64 **lexminmax(polyhedronZIL *poly, long long **context, int nrow_context, int ncol_context,
                       bool bmax) {
  PipMatrix *pipContext = toPipMatrix(context, nrow_context, ncol_context);
  rational64 **answer = lexminmax(poly, pipContext, bmax);
  pip_matrix_free(pipContext);
  return answer;
}

rational64 **lexmax(polyhedronZIL *poly) { return lexminmax(poly, true); }
rational64 **lexmin(polyhedronZIL *poly) { return lexminmax(poly, false); }

rational64 **lexmax(polyhedronZIL *poly, long long **context, int nrow_context, int ncol_context) {
  return lexminmax(poly, context, nrow_context, ncol_context, true);
}

rational64 **lexmin(polyhedronZIL *poly, long long **context, int nrow_context, int ncol_context) {
  return lexminmax(poly, context, nrow_context, ncol_context, false);
}

polyhedronZIL *build_lexminmax_poly(affFuncZIL *obj, polyhedronZIL *dom) {
  assert(dom->nParam==obj->nParam);
  assert(dom->nInd==obj->nInd);
  for (int i = 0; i < obj->dimOut; i++) assert(obj->divs[i]==1);
  int dimOut = obj->dimOut, nInd = dom->nInd, nParam = dom->nParam;
  int nRow = dom->nConstr + dimOut, nCol = dimOut + nInd + nParam + 2;
  long long **mat = allocZeroMatrix(nRow, nCol);
  for (int i = 0; i < dom->nConstr; i++) {
    mat[i][0] = dom->polyScalar[i][0];
    for (int j = 1; j < nInd + nParam + 2; j++) mat[i][dimOut + j] = dom->polyScalar[i][j];
  }
  for (int i = 0; i < dimOut; i++) {
    long long *row = mat[dom->nConstr + i];
    row[0] = 0;
    row[1 + i] = -1;
    for (int j = 0; j < nInd + nParam + 1; j++) row[1 + dimOut + j] = obj->affFuncScalar[i][j];
  }
  return buildPolyhedron(mat, nRow, dimOut + nInd, nParam);
}

static rational64 **copyRows(rational64 **sol_lex, int first, int count, int nCol) {
  rational64 **rows = allocZeroRationalMatrix(count, nCol);
  for (int i = 0; i < count; i++)
    for (int j = 0; j < nCol; j++) rows[i][j] = sol_lex[first + i][j];
  return rows;
}

rational64 **project_begin_sol(rational64 **sol_lex, int nIndProj, int nCol_sol_lex, int nRow_sol_lex) {
  assert(0<=nIndProj && nIndProj<=nRow_sol_lex);
  return copyRows(sol_lex, 0, nIndProj, nCol_sol_lex);
}

rational64 **project_end_sol(rational64 **sol_lex, int nIndProj, int nCol_sol_lex, int nRow_sol_lex) {
  assert(0<=nIndProj && nIndProj<=nRow_sol_lex);
  return copyRows(sol_lex, nRow_sol_lex - nIndProj, nIndProj, nCol_sol_lex);
}

// The rows a caller receives must be finite: a marker there means that the
// asked-for extremum does not exist.
static void requireBounded(rational64 **rows, int nRow, int nCol) {
  for (int i = 0; i < nRow; i++)
    for (int j = 0; j < nCol; j++) assert(rows[i][j].den!=0 && "unbounded extremum");
}

// Optimum of the graph polyhedron of obj over dom; keeps the outputs (y) or
// the point (x).
static rational64 **graphExtremum(affFuncZIL *obj, polyhedronZIL *dom, bool bmax, bool keepOutputs) {
  polyhedronZIL *graph = build_lexminmax_poly(obj, dom);
  rational64 **sol_lex = bmax ? lexmax(graph) : lexmin(graph);
  int nRow = graph->nInd, nCol = graph->nParam + 1;
  rational64 **kept = keepOutputs ? project_begin_sol(sol_lex, obj->dimOut, nCol, nRow)
                                  : project_end_sol(sol_lex, dom->nInd, nCol, nRow);
  freeMatrix(sol_lex, nRow);
  freePolyhedron(graph);
  requireBounded(kept, keepOutputs ? obj->dimOut : dom->nInd, nCol);
  return kept;
}

rational64 **max(affFuncZIL *obj, polyhedronZIL *dom) { return graphExtremum(obj, dom, true, true); }
rational64 **min(affFuncZIL *obj, polyhedronZIL *dom) { return graphExtremum(obj, dom, false, true); }
rational64 **argmax(affFuncZIL *obj, polyhedronZIL *dom) { return graphExtremum(obj, dom, true, false); }
rational64 **argmin(affFuncZIL *obj, polyhedronZIL *dom) { return graphExtremum(obj, dom, false, false); }
