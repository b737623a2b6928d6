// Dates that use a parameter absent from the tiled domains: N in a
// rectangular ZIL schedule (the domain is over outer_N and inner_N), and M,
// which no loop bound uses, in an untiled one; each loop runs backwards
// inside its tile.
// params: N M
// arrays: a b
// block_sizes: 1 2 3 5 8
// values: 0 0 | 1 4 | 4 0 | 9 2 | 16 7
int N;
int M;
int a[16];
int b[16];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[2]
#pragma tile_hyperplans[i]
#pragma schedule[0][__T][N - i]
    a[i] = a[i] * 2 + i;
  }
  for (i = 0; i < N; i++) {
#pragma schedule[1][M][i]
    b[i] = b[i] * 3 + a[i] - M;
  }
#pragma end_scop
}
