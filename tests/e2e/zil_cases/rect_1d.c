// Rectangular parametric tiling of a prefix sum (a chain of dependences)
// with ratio 1 and, in a second statement, ratio 2.
// params: N
// arrays: a b
// block_sizes: 1 2 3 4 5 8 16 30
// values: 0 | 1 | 2 | 3 | 4 | 7 | 11 | 19 | 24
int N;
int a[24];
int b[24];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 1; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[0][__T][i]
    a[i] = a[i - 1] + a[i];
  }
  for (i = 0; i < N; i++) {
#pragma tile_group[1]
#pragma tile_ratio[2]
#pragma tile_hyperplans[i]
#pragma schedule[1][__T][i]
    b[i] = b[i] * 3 + a[i] - i;
  }
#pragma end_scop
}
