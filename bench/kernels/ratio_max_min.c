// One statement under tile_ratio[3][1] on a domain bounded by max(3, K + i)
// and min(N - 2, N - i + 3): the last tiles differ in the remainders of
// three sizes, 200 pieces. With its full tiles apart, its nest exceeds the
// code generator's budget; it is generated with every instance together.
// params: M K N
// sizes: 3000 0 3000
// arrays: A
int M;
int K;
int N;
double A[3000][3000];

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
