// 1-D constant tiling (tiles of 5) of an in-place prefix sum.
// params: N
// arrays: s a
// values: 0 | 1 | 2 | 4 | 5 | 6 | 11 | 40
int N;
int s[40];
int a[40];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 1; i < N; i++) {
#pragma tile_group[0]
#pragma tile_size[5]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    s[i] = s[i - 1] + a[i];
  }
#pragma end_scop
}
