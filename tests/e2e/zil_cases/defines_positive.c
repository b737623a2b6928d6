// #define'd ratios and lattice values, conditions on parameters only, M
// below and above N, block sizes above N, -positive-parameters with both
// parametric tilings.
// params: N M
// arrays: A B C s
// options: -positive-parameters
// block_sizes: 1 2 3 5 13 40
// values: 0 0 | 1 0 | 0 1 | 1 1 | 5 9 | 9 5 | 12 12 | 2 12
#define R 2
#define ONE 1
#define SIZE 12
static int N;
int M;
static double A[SIZE][SIZE];
float B[SIZE][SIZE];
long C[SIZE][SIZE];
static long s[SIZE];

void kernel() {
  int i, j;
#pragma begin_scop
  if (N > 2 && M >= N - 4) {
    for (i = 0; i < N; i++)
      for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_ratio[R][ONE]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
        A[i][j] = A[i][j] * 0.5 + B[j][i];
      }
  }
  for (i = 0; i < N; i++)
    if (M > 3)
      for (j = i; j < M; j++) {
#pragma tile_group[1]
#pragma tile_lattice[ONE][0][0][ONE]
#pragma tile_shape[i][block_size - ONE - i][j][block_size - 1 - j]
#pragma schedule[1][__T][__T][i][j]
        C[i][j] = C[i][j] + s[i] * j;
      }
  for (i = 0; i < M; i++) {
#pragma schedule[2][i]
    s[i] = s[i] + (long)A[i][0];
  }
#pragma end_scop
}
