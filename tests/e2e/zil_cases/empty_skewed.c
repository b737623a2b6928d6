// A statement whose domain is empty for every size (j < -N - 1 with
// N >= 0) under skewed hyperplanes: the tiling leaves it no piece, and its
// dates still compute with the tiled counters, next to a statement that
// runs.
// params: N
// arrays: a b
// block_sizes: 1 2 3 5
// values: 0 | 1 | 4 | 9
int N;
int a[12][12];
int b[12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < -N - 1; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i + j][j]
#pragma schedule[0][__T][__T][i][j]
      a[i][j] = a[i][j] + i;
    }
  for (i = 0; i < N; i++) {
#pragma tile_group[1]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[1][__T][i][0][0]
    b[i] = b[i] * 2 + i;
  }
#pragma end_scop
}
