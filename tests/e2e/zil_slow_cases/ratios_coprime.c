// Tile ratios that the longest does not divide: the last tiles along each
// loop differ in the remainders of N / block_size modulo 11, 7, 5, 3 and 2,
// and the cross product would keep a piece for nearly every combination of
// them. Past the crossing's budget the statement scans one convex superset
// of its pieces and tests each point against its domain.
// params: N
// arrays: A
// block_sizes: 1 2 3 5
// values: 0 | 1 | 3 | 4
// warning: ratios_coprime.c:26: warning: statement #0 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
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
