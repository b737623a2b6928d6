// Tile ratios that the longest does not divide: the last tiles along i and
// k differ in the remainders of N / block_size modulo 5 and modulo 4, and
// the code generator would tell apart every combination of them for every
// piece. Refused during the cross product, before any code generation.
// stderr: Tiling::apply: statement #0: tile_ratio[5][1][4] would split the domain into about 3840 pieces, more than the limit of 1500
// not on stdout: Coalescing...
int N;
double A[17][17];
double B[17][17];
double C[17][17];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (k = 0; k < N; k++) {
#pragma tile_group[0]
#pragma tile_ratio[5][1][4]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[__T][__T][__T][i][j][k]
        C[i][j] = C[i][j] + A[i][k] * B[k][j];
      }
#pragma end_scop
}
