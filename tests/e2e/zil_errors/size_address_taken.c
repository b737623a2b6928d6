// stderr: size_address_taken.c:5: error: the address of N, taken here, would let code write it unseen: the static control part takes N for a constant of its loop bounds, conditions, subscripts and directives
// A statement writes N through P = &N: C tests i < N with the new value
// at the next iteration, the tiled code splits N once, on entry.
int N;
int *P = &N;
double A[40];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i][0]
    A[i] = A[i] + 1;
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i][1]
    P[0] = P[0] - 1;
  }
#pragma end_scop
}
