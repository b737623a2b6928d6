// One statement over time under diamond tiles 0 <= 2t + i < block_size,
// 0 <= 2t - i < block_size on the lattice of generators (1, 2)/4 and
// (1, -2)/4: the tile origins come in 16 lattice offsets, 390 pieces. The
// search for its full tiles exceeds its budget of work: every instance
// runs together.
// params: T N
// arrays: A
// block_sizes: 4 8 12
// values: 0 0 | 1 3 | 2 9 | 5 4 | 7 20 | 13 24
// warning: general_diamond_quarter.c:24: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int T;
int N;
double A[24];

void kernel() {
  int t, i;
#pragma begin_scop
  for (t = 0; t < T; t++)
    for (i = 1; i < N - 1; i++) {
#pragma tile_group[0]
#pragma tile_lattice[1][1][2][-2][4][4]
#pragma tile_shape[2 * t + i][block_size - 1 - 2 * t - i][2 * t - i][block_size - 1 - 2 * t + i]
#pragma schedule[__T][__T][t][i]
      A[i] = A[i] * 0.5 + t - i;
    }
#pragma end_scop
}
