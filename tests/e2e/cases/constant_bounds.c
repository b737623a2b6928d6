// Constant loop bounds: no parameter at all.
// params:
// arrays: A
// values:
int A[10][7];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < 10; i++)
    for (j = 2; j < 7; j++) {
#pragma tile_group[0]
#pragma tile_size[4][4]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i][j - 1] + A[i][j] + i * j;
    }
#pragma end_scop
}
