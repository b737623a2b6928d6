// Constant bounds from 1,000 to 100,000 beside a parameter and small
// constants, under both parametric tilings and -aligned-parameters (N is a
// multiple of block_size; the constants are not).
// options: -aligned-parameters
// params: N
// arrays: a b c
// runs: 1 0 | 1 3 | 2 4 | 3 3 | 7 7 | 64 0 | 999 0 | 1000 0 | 1024 0 | 100000 0 | 65536 0
int N;
int a[1000][8];
int b[100000];
int c[3000];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < 1000; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
      a[i][j] = a[i][j] * 3 + i - j;
    }
  for (i = 7; i < 100000; i++) {
#pragma tile_group[1]
#pragma tile_ratio[3]
#pragma tile_hyperplans[i]
#pragma schedule[1][__T][i][0][0]
    b[i] = (b[i - 1] + b[i] * 5 + i) % 10007;
  }
  for (i = 1001; i <= 2999; i++) {
#pragma tile_group[2]
#pragma tile_lattice[2]
#pragma tile_shape[i][2 * block_size - 1 - i]
#pragma schedule[2][__T][i][0][0]
    c[i] = (c[i - 1] * 7 + c[i]) % 1009;
  }
#pragma end_scop
}
