// Bounds and a hyperplane constant close to INT_MAX: the hidden parameters
// and their splits hold such values, and no pieces depend on them. The
// second nest tiles a constant time dimension (hyperplane 2147483647). The
// last two start close to INT_MIN: the code generator adds the splits of
// their hidden constants to those of N (outer_N + outer_2147483645), sums
// that the original never forms, and the statements compare their counters
// with an unsigned as the original's int counters.
// params: N
// arrays: a b c d
// block_sizes: 1 2 3 5 64 1000
// values: 0 | 3 | 8
int N;
int a[16];
int b[8][8];
int c[16];
int d[16];

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
  for (i = -2147483645; i < -2147483645 + N; i++) {
#pragma tile_group[2]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[2][__T][i]
    c[i + 2147483645] = c[i + 2147483645] * 2 + (i < 7u);
  }
  for (i = -2147483646; i < N - 2147483646; i++) {
#pragma tile_group[3]
#pragma tile_lattice[1]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[3][__T][i]
    d[i + 2147483646] = d[i + 2147483646] * 2 + (i < 7u);
  }
#pragma end_scop
}
