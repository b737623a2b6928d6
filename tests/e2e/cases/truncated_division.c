// C's integer division truncates toward zero: bounds and conditions whose
// numerator may be negative (a negative size, or a counter expression below
// zero) must run exactly the iterations of the original.
// params: N
// arrays: a b c d
// values: -9 | -7 | -4 | -3 | -1 | 0 | 1 | 3 | 8 | 13
int N;
int a[40];
int b[40];
int c[40];
int d[40];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = N / 2; i < 0; i++) {
#pragma schedule[0][i][0]
    a[i + 20] = a[i + 20] + 1;
  }
  for (i = 0; i < 20; i++)
    for (j = (i - 10) / 4; j < (N - i) / 3; j++) {
#pragma tile_group[0]
#pragma tile_size[3][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[1][__T][__T][i][j]
      b[i] = b[i] * 2 + j;
    }
  for (i = -6; i < 6; i++) {
    if (i / 4 <= N / 3) {
#pragma schedule[2][i][0]
      c[i + 6] = c[i + 6] + i;
    } else {
#pragma schedule[2][i][1]
      c[i + 20] = c[i + 20] - i;
    }
  }
  for (i = 0; i <= (N / 2 + 3) / 2 + 5; i++) {
#pragma schedule[3][i][0]
    d[i] = d[i] + N;
  }
#pragma end_scop
}
