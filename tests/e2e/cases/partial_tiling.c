// Only the innermost of three loops is tiled; the time loop stays outside.
// params: N
// arrays: A
// values: 0 | 1 | 4 | 5 | 9 | 14
int N;
int A[14][14];

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (k = 0; k < 3; k++)
    for (i = 0; i < N; i++)
      for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[5]
#pragma tile_hyperplans[j]
#pragma schedule[k][__T][i][j]
        A[i][j] = (A[i][j] * 3 + k + (j > 0 ? A[i][j - 1] : 0)) % 997;
      }
#pragma end_scop
}
