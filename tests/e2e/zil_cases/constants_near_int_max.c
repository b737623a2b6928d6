// Bounds and a hyperplane constant close to INT_MAX: the hidden parameters
// and their splits hold such values, and no pieces depend on them. The
// second nest tiles a constant time dimension (hyperplane 2147483647).
// params: N
// arrays: a b
// block_sizes: 1 2 3 5 64 1000
// values: 0 | 3 | 8
int N;
int a[16];
int b[8][8];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 2147483632; i < 2147483647; i++) {
#pragma tile_group[0]
#pragma tile_ratio[2]
#pragma tile_hyperplans[i]
#pragma schedule[0][__T][i]
    a[i - 2147483632] = a[i - 2147483633 + 1] * 2 + a[0] + N;
  }
  for (i = 0; i < N; i++) {
#pragma tile_group[1]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i][2147483647]
#pragma schedule[1][__T][i]
    b[i][0] = b[i][0] + i;
  }
#pragma end_scop
}
