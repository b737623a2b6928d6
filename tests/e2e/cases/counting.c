// Counts the instances of a triangular nest under the skewed tiling
// [i+j][j]: a lost or duplicated instance changes a count.
// params: N
// arrays: cnt
// values: 0 | 1 | 2 | 3 | 5 | 6 | 11 | 16
int N;
int cnt[16][16];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j <= i; j++) {
#pragma tile_group[0]
#pragma tile_size[3][2]
#pragma tile_hyperplans[i + j][j]
#pragma schedule[__T][__T][i][j]
      cnt[i][j] = cnt[i][j] + 1;
    }
#pragma end_scop
}
