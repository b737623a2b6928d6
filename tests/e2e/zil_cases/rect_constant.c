// Constant bounds, no size parameter: only block_size is run-time.
// params:
// arrays: A
// block_sizes: 1 2 3 4 5 7 8 16
// values:
int A[10][7];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < 10; i++)
    for (j = 2; j < 7; j++) {
#pragma tile_group[0]
#pragma tile_ratio[2][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i][j - 1] + A[i][j] + i * j;
    }
#pragma end_scop
}
