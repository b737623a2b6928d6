// Ratio 2 on a loop starting below 0 and on an upper bound N - 2: the
// block offsets of the tiles are checked at both ends.
// params: N
// arrays: a b
// block_sizes: 1 2 3 4 5 8 16 30
// values: 0 | 1 | 2 | 3 | 4 | 7 | 11 | 19 | 24
int N;
int a[30];
int b[30];

void kernel() {
  int i;
#pragma begin_scop
  for (i = -3; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[2]
#pragma tile_hyperplans[i]
#pragma schedule[0][__T][i]
    a[i + 4] = a[i + 3] + i;
  }
  for (i = 0; i <= N - 2; i++) {
#pragma tile_group[1]
#pragma tile_ratio[2]
#pragma tile_hyperplans[i]
#pragma schedule[1][__T][i]
    b[i] = b[i] + 2 * i + 1;
  }
#pragma end_scop
}
