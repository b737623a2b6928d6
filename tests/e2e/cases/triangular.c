// Triangular domain j <= i, two statements sharing the tiles 3 by 2.
// params: N
// arrays: A c
// values: 0 | 1 | 2 | 3 | 4 | 5 | 7 | 11 | 12
int N;
int A[12][12];
int c[12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j <= i; j++) {
#pragma tile_group[0]
#pragma tile_size[3][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i][j] * 2 + c[j] + i - j;
#pragma tile_group[0]
#pragma tile_size[3][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      c[i] = c[i] * 3 + A[i][j];
    }
#pragma end_scop
}
