// A lower bound N/2 (C's integer division), checked with odd sizes.
// params: N
// arrays: a
// values: 0 | 1 | 2 | 5 | 7 | 9 | 30
int N;
int a[30];

void kernel() {
  int i;
#pragma begin_scop
  for (i = N / 2; i < N; i++) {
#pragma tile_group[0]
#pragma tile_size[4]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    a[i] = a[i] + i;
  }
#pragma end_scop
}
