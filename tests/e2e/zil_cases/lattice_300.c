// A lattice of entries 300: each constraint splits into 301 pieces, whose
// nest the last mode of code generation scans as one convex superset, each
// point tested against the domain.
// params: N M
// arrays: a
// block_sizes: 1 2 3
// values: 0 0 | 1 1 | 10 7 | 4 10 | 7 0
// warning: lattice_300.c:22: warning: statement #0 scans one convex superset of its domain and tests every point, because the crossing of its tiling's pieces exceeded its budget of work: its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int M;
int a[10][10];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_lattice[300][0][0][300]
#pragma tile_shape[i][300 * block_size - 1 - i][j][300 * block_size - 1 - j]
#pragma schedule[__T][__T][i][j]
      a[i][j] = a[i][j] + 1;
    }
#pragma end_scop
}
