// Bounds N / 2, (N + 1) / 2 and 2 * N / 3 (C's integer division) with odd N.
// params: N
// arrays: a b c
// values: 0 | 1 | 2 | 3 | 5 | 6 | 7 | 9 | 21 | 30
int N;
int a[30];
int b[30];
int c[30];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N / 2; i++) {
#pragma tile_group[0]
#pragma tile_size[2]
#pragma tile_hyperplans[i]
#pragma schedule[0][__T][i]
    a[i] = a[i] + 1 + a[i + 1];
  }
  for (i = (N + 1) / 2; i <= N - 1; i++) {
#pragma tile_group[1]
#pragma tile_size[3]
#pragma tile_hyperplans[i]
#pragma schedule[1][__T][i]
    b[i] = b[i - 1] * 2 + i;
  }
  for (i = N / 3; i < 2 * N / 3; i++) {
#pragma schedule[2][i][0]
    c[i] = c[i] + b[i] - a[i];
  }
#pragma end_scop
}
