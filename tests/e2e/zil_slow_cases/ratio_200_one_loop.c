// A tile ratio of 200 on one loop: the last tile comes in 200 shapes, one
// per remainder of N / block_size modulo 200, whose nest exceeds the code
// generator's budgets (which large coefficients shrink); the last mode
// scans the simple hull of the pieces and tests each point.
// params: N
// arrays: a
// block_sizes: 1 2 3
// values: 0 | 1 | 7 | 10
// warning: ratio_200_one_loop.c:21: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
int a[10];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[200]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    a[i] = a[i] + 1;
  }
#pragma end_scop
}
