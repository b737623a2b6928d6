// Allocation and release of the solver's records.
#include "records.h"

#include <cstdlib>

#include "fail.h"

namespace {

// malloc that never returns NULL: running out of memory ends the run with a
// message instead of a crash further on.
void *checked_malloc(size_t size) {
  void *p = malloc(size == 0 ? 1 : size);
  if (!p) pip_fail("out of memory");
  return p;
}

void *checked_calloc(size_t count, size_t size) {
  void *p = calloc(count == 0 ? 1 : count, size == 0 ? 1 : size);
  if (!p) pip_fail("out of memory");
  return p;
}

void pip_newparm_free(PipNewparm *newparm) {
  while (newparm) {
    PipNewparm *next = newparm->next;
    pip_vector_free(newparm->vector);
    free(newparm);
    newparm = next;
  }
}

}  // namespace

PipMatrix *pip_matrix_alloc(unsigned rows, unsigned cols) {
  PipMatrix *matrix = static_cast<PipMatrix *>(checked_malloc(sizeof *matrix));
  matrix->NbRows = rows;
  matrix->NbColumns = cols;
  matrix->p = nullptr;
  if (rows == 0) return matrix;
  matrix->p = static_cast<long long **>(checked_calloc(rows, sizeof(long long *)));
  for (unsigned i = 0; i < rows; ++i)
    matrix->p[i] = static_cast<long long *>(checked_calloc(cols, sizeof(long long)));
  return matrix;
}

void pip_matrix_free(PipMatrix *matrix) {
  if (!matrix) return;
  if (matrix->p)
    for (unsigned i = 0; i < matrix->NbRows; ++i) free(matrix->p[i]);
  free(matrix->p);
  free(matrix);
}

PipOptions *pip_options_init(void) {
  PipOptions *options = static_cast<PipOptions *>(checked_calloc(1, sizeof *options));
  options->Nq = 1;
  return options;
}

void pip_options_free(PipOptions *options) { free(options); }

PipVector *pip_vector_new(int n) {
  PipVector *vector = static_cast<PipVector *>(checked_malloc(sizeof *vector));
  vector->nb_elements = n;
  vector->the_vector = static_cast<long long *>(checked_calloc(n, sizeof(long long)));
  vector->the_deno = static_cast<long long *>(checked_calloc(n, sizeof(long long)));
  for (int i = 0; i < n; ++i) vector->the_deno[i] = 1;
  return vector;
}

void pip_vector_free(PipVector *vector) {
  if (!vector) return;
  free(vector->the_vector);
  free(vector->the_deno);
  free(vector);
}

PipList *pip_list_cell_new(PipVector *vector) {
  PipList *cell = static_cast<PipList *>(checked_malloc(sizeof *cell));
  cell->vector = vector;
  cell->next = nullptr;
  return cell;
}

void pip_list_free(PipList *list) {
  while (list) {
    PipList *next = list->next;
    pip_vector_free(list->vector);
    free(list);
    list = next;
  }
}

PipNewparm *pip_newparm_new(int rank, PipVector *vector, long long deno) {
  PipNewparm *newparm = static_cast<PipNewparm *>(checked_malloc(sizeof *newparm));
  newparm->rank = rank;
  newparm->vector = vector;
  newparm->deno = deno;
  newparm->next = nullptr;
  return newparm;
}

PipQuast *pip_quast_new(PipQuast *father) {
  PipQuast *quast = static_cast<PipQuast *>(checked_calloc(1, sizeof *quast));
  quast->father = father;
  return quast;
}

void pip_quast_free(PipQuast *quast) {
  if (!quast) return;
  pip_newparm_free(quast->newparm);
  pip_list_free(quast->list);
  pip_vector_free(quast->condition);
  pip_quast_free(quast->next_then);
  pip_quast_free(quast->next_else);
  free(quast);
}
