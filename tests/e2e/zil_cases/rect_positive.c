// "-positive-parameters" gives the same results; the script carries
// outer_N >= 0.
// options: -positive-parameters
// script: inner_N < block_size and outer_N >= 0
// params: N
// arrays: a
// block_sizes: 1 2 3 4 8 30
// values: 0 | 1 | 2 | 5 | 9 | 24
int N;
int a[24];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 1; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    a[i] = a[i - 1] * 2 - a[i];
  }
#pragma end_scop
}
