// One statement under tile_ratio[3][1] on a domain bounded by max(3, K + i)
// and min(N - 2, N - i + 3): the last tiles differ in the remainders of
// three sizes, 200 pieces. With its full tiles apart, its nest exceeds the
// code generator's budget; it is generated with every instance together.
// params: M K N
// arrays: A
// block_sizes: 1 2 3 4 7
// values: 0 0 0 | 4 1 9 | 7 0 12 | 9 3 14 | 13 2 15 | 5 8 11
int M;
int K;
int N;
double A[16][16];

int min(int a, int b) { return a < b ? a : b; }
int max(int a, int b) { return a < b ? b : a; }

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < M; i++)
    for (j = max(3, K + i); j <= min(N - 2, N - i + 3); j++) {
#pragma tile_group[0]
#pragma tile_ratio[3][1]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i][j] * 0.5 + i - j;
    }
#pragma end_scop
}
