// Text form of the solver's records, one element per line. A negative
// indent prints everything flush left.
#include "pip.h"

namespace {

void print_indent(FILE *out, int indent) {
  for (int i = 0; i < indent; ++i) fputc(' ', out);
}

// Indent of the nested elements; a negative indent stays negative.
int deeper(int indent) { return indent < 0 ? indent : indent + 1; }

}  // namespace

void pip_vector_print(FILE *out, PipVector *vector) {
  if (!vector) return;
  fputs("#[", out);
  for (int i = 0; i < vector->nb_elements; ++i) {
    fprintf(out, " %lld", vector->the_vector[i]);
    if (vector->the_deno[i] != 1) fprintf(out, "/%lld", vector->the_deno[i]);
  }
  fputc(']', out);
}

void pip_newparm_print(FILE *out, PipNewparm *newparm, int indent) {
  for (; newparm; newparm = newparm->next) {
    print_indent(out, indent);
    fprintf(out, "(newparm %d (div ", newparm->rank);
    pip_vector_print(out, newparm->vector);
    fprintf(out, " %lld))\n", newparm->deno);
  }
}

void pip_list_print(FILE *out, PipList *list, int indent) {
  print_indent(out, indent);
  if (!list) {
    fputs("()\n", out);
    return;
  }
  fputs("(list\n", out);
  for (; list; list = list->next) {
    if (!list->vector) continue;
    print_indent(out, deeper(indent));
    pip_vector_print(out, list->vector);
    fputc('\n', out);
  }
  print_indent(out, indent);
  fputs(")\n", out);
}

void pip_quast_print(FILE *out, PipQuast *quast, int indent) {
  if (!quast) {
    print_indent(out, indent);
    fputs("void\n", out);
    return;
  }
  pip_newparm_print(out, quast->newparm, indent);
  if (!quast->condition) {
    pip_list_print(out, quast->list, indent);
    return;
  }
  print_indent(out, indent);
  fputs("(if ", out);
  pip_vector_print(out, quast->condition);
  fputc('\n', out);
  pip_quast_print(out, quast->next_then, deeper(indent));
  pip_quast_print(out, quast->next_else, deeper(indent));
  print_indent(out, indent);
  fputs(")\n", out);
}

void pip_matrix_print(FILE *out, PipMatrix *matrix) {
  if (!matrix) return;
  fprintf(out, "%u %u\n", matrix->NbRows, matrix->NbColumns);
  for (unsigned i = 0; i < matrix->NbRows; ++i) {
    for (unsigned j = 0; j < matrix->NbColumns; ++j)
      fprintf(out, " %lld", matrix->p[i][j]);
    fputc('\n', out);
  }
}
