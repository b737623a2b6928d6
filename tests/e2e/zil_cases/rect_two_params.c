// Two parameters, a min bound and a hyperplane over a parameter that the
// domain does not use: [i + M][j] must still give tiles of side block_size.
// params: N M
// arrays: A
// block_sizes: 1 2 3 5 8 20
// values: 0 0 | 1 0 | 0 3 | 4 7 | 9 2 | 12 12 | 12 5 | 7 12
int N;
int M;
int A[12][12];

int min(int a, int b) { return a < b ? a : b; }

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < min(N, 12 - i); j++) {
#pragma tile_group[0]
#pragma tile_ratio[1][1]
#pragma tile_hyperplans[i + M][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i][j] + M * i - j;
    }
#pragma end_scop
}
