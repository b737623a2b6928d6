// Two statements over time sharing the loops of diamond tiles
// 0 <= 2t + i < block_size, 0 <= 2t - i < block_size on the lattice of
// generators (1, 2)/4 and (1, -2)/4: 620 pieces each, whose nest exceeds
// the code generator's budgets; the last mode scans one convex superset of
// each statement's pieces, each point tested.
// params: T N
// sizes: 400 20000
// arrays: A B
// block_sizes: 4 8 12
// values: 0 0 | 1 5 | 3 9 | 7 30 | 12 64
// warning: diamond_quarter_shared.c:27: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
// warning: diamond_quarter_shared.c:32: warning: statement #1 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int T;
int N;
double A[20000];
double B[20000];

void kernel() {
  int t, i;
#pragma begin_scop
  for (t = 0; t < T; t++)
    for (i = 1; i < N - 1; i++) {
#pragma tile_group[0]
#pragma tile_lattice[1][1][2][-2][4][4]
#pragma tile_shape[2 * t + i][block_size - 1 - 2 * t - i][2 * t - i][block_size - 1 - 2 * t + i]
#pragma schedule[__T][__T][t][i][0]
      A[i] = A[i] * 0.5 + t - i;
#pragma tile_group[0]
#pragma tile_lattice[1][1][2][-2][4][4]
#pragma tile_shape[2 * t + i][block_size - 1 - 2 * t - i][2 * t - i][block_size - 1 - 2 * t + i]
#pragma schedule[__T][__T][t][i][1]
      B[i] = B[i] * 0.25 + A[i];
    }
#pragma end_scop
}
