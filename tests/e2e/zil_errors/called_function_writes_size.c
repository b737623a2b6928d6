// stderr: called_function_writes_size.c:22: error: g, called here, runs shrink, which writes N: the static control part takes N for a constant of its loop bounds, conditions, subscripts and directives
// g() lowers N through shrink(): C tests i < N with the new value at the
// next iteration, the tiled code splits N once, on entry.
int N;
double A[40];

void shrink() { N = N - 1; }

double g(double x) {
  shrink();
  return x;
}

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    A[i] = g(A[i]) + 1;
  }
#pragma end_scop
}
