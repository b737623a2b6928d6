// A tile ratio of 100 on one loop: the last tile comes in 100 shapes, one
// per remainder of N / block_size modulo 100. With its full tile apart,
// the nest exceeds the code generator's budget, which large coefficients
// shrink; it is generated with every instance together.
// params: N
// arrays: a
// block_sizes: 1 2 3
// values: 0 | 1 | 7 | 99 | 100 | 101 | 250 | 301
// warning: rect_large_ratio.c:21: warning: statement #0 scans one convex superset of its domain and tests every point, because the program's exact loop nests exceeded the code generator's budget of work (its last mode): its code is exact but slower than an exact nest; for an exact nest, tile it with fewer pieces: smaller tile ratios, ratios that the largest divides, a lattice without denominators, or constant tile sizes along hyperplanes of full rank
int N;
double a[320];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[100]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    a[i] = a[i] * 0.5 + i;
  }
#pragma end_scop
}
