// Statements at depths 0 to 3 with schedules of different lengths, one of
// them constant-tiled inside an untiled loop.
// params: N M
// arrays: A s t u
// values: 0 0 | 1 0 | 0 1 | 1 1 | 3 2 | 2 5 | 7 7 | 10 9
int N;
int M;
int A[10][10];
int s[10];
int t[10];
int u;

void kernel() {
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i][0]
    s[i] = s[i] + u;
    for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_size[2][3]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][i][1][__T][__T][i][j]
      A[i][j] = A[i][j] + s[i] * j;
      for (k = j; k < M; k++) {
#pragma schedule[0][i][2][j][k]
        t[k] = t[k] * 3 + A[i][j] - k;
      }
    }
#pragma schedule[0][i][3]
    u = u * 2 + s[i] + t[i];
  }
#pragma schedule[1]
  u = u + 7;
#pragma end_scop
}
