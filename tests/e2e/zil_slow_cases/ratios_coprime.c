// Tile ratios that the longest does not divide: the last tiles along each
// loop differ in the remainders of N / block_size modulo 11, 7, 5, 3 and 2,
// and the cross product keeps a piece for nearly every combination of
// them, more than the code generator could take within its budget.
// Refused during the cross product, before any code generation.
// stderr: Tiling::apply: statement #0: tile_ratio[11][7][5][3][2] splits the domain into more than 2000 pieces, more than the code generator can take within its budget
// not on stdout: Coalescing...
int N;
double A[4][4][4][4][4];

void kernel() {
  int i, j, k, l, m;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      for (k = 0; k < N; k++)
        for (l = 0; l < N; l++)
          for (m = 0; m < N; m++) {
#pragma tile_group[0]
#pragma tile_ratio[11][7][5][3][2]
#pragma tile_hyperplans[i][j][k][l][m]
#pragma schedule[__T][__T][__T][__T][__T][i][j][k][l][m]
            A[i][j][k][l][m] = A[i][j][k][l][m] * 2;
          }
#pragma end_scop
}
