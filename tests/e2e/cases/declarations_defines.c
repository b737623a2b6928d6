// Declarations of many kinds around the part (static, extern, const, double,
// float, long, unsigned), #define'd tile sizes, conditions on parameters only.
// params: N M
// arrays: A B C s t
// values: 0 0 | 1 0 | 0 1 | 1 1 | 5 9 | 9 5 | 12 12
#define TS 4
#define TS2 3
#define SIZE 12
static int N;
int M;
static double A[SIZE][SIZE];
extern float B[SIZE][SIZE];
float B[SIZE][SIZE];
long C[SIZE][SIZE];
const int K = 3;
static long s[SIZE];
unsigned int t[SIZE];

void kernel() {
  int i, j;
#pragma begin_scop
  if (N > 2 && M >= N - 4) {
    for (i = 0; i < N; i++)
      for (j = 0; j < M; j++) {
#pragma tile_group[0]
#pragma tile_size[TS][TS2]
#pragma tile_hyperplans[i][j]
#pragma schedule[0][__T][__T][i][j]
        A[i][j] = A[i][j] * 0.5 + B[j][i] * K;
      }
  }
  for (i = 0; i < N; i++)
    if (M > 3)
      for (j = i; j < M; j++) {
#pragma tile_group[1]
#pragma tile_size[TS][TS]
#pragma tile_hyperplans[i][j]
#pragma schedule[1][__T][__T][i][j]
        C[i][j] = C[i][j] + s[i] * (long)t[j];
      }
  for (i = 0; i < M; i++) {
#pragma schedule[2][i]
    s[i] = s[i] + (long)A[i][0] + K;
  }
#pragma end_scop
}
