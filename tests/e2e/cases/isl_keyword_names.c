// Loop counters and sizes named like words isl reads as its keywords, in
// any letter case (rat, NaN, infty, exists, Implies), tiled and untiled; a
// division in a bound makes tarvex read the domain with isl on its own too.
// params: infty exists Implies
// arrays: A B
// values: 0 0 0 | 1 1 1 | 5 3 2 | 13 7 4 | 20 20 0 | 20 9 19 | -3 5 1
int infty;
int exists;
int Implies;
int A[20][20];
int B[20];

void kernel() {
  int rat, j, NaN;
#pragma begin_scop
  for (rat = 0; rat < infty; rat++)
    for (j = 0; j < exists; j++) {
#pragma tile_group[0]
#pragma tile_size[4][3]
#pragma tile_hyperplans[rat][j]
#pragma schedule[0][__T][__T][rat][j]
      A[rat][j] = A[rat][j] * 2 + B[j] + rat;
    }
  for (NaN = Implies; NaN < (infty + 1) / 2; NaN++) {
#pragma schedule[1][NaN][0][0][0]
    B[NaN] = B[NaN] * 3 + NaN;
  }
#pragma end_scop
}
