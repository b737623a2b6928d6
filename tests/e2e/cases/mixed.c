// Constant-tiled and untiled statements in one program, with schedules of
// different lengths; the second tiled statement has one hyperplane only.
// params: N
// arrays: A B s r
// values: 0 | 1 | 3 | 4 | 6 | 12
int N;
int A[12][12];
int B[12][12];
int s[12];
int r[12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[4][4]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      B[i][j] = A[i][j] * 2 + B[i][j];
    }
  for (i = 0; i < N; i++) {
#pragma schedule[1][i]
    s[i] = B[i][0] + B[0][i] + s[i];
  }
  for (i = 1; i < N; i++) {
#pragma tile_group[1]
#pragma tile_size[5]
#pragma tile_hyperplans[i]
#pragma schedule[2][__T][i]
    r[i] = r[i - 1] + s[i];
  }
#pragma end_scop
}
