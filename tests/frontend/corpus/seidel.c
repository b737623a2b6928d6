/* 2-d Gauss-Seidel with a general tile shape and lattice. */
#include <stdio.h>

#define N 400
#define STEPS 20

double A[N][N];
const int half = N / 2;

int main()
{
  int t, i, j;
  double sum = 0.0;
#pragma begin_scop
  for (t = 0; t <= STEPS - 1; t++)
    for (i = 1; i <= N / 2; i++)
      for (j = 1; j <= floor((N + 1) / 2); j++) {
#pragma tile_group[1]
#pragma tile_lattice[1][0][0] [0][1][0] [0][0][1]
#pragma tile_shape[t][i - t][j - t][ -t + 1]
#pragma schedule[__T * t][t + i][t + i + j][0]
        A[i][j] = (A[i - 1][j] + A[i][j - 1] + A[i][j] + A[i + 1][j] + A[i][j + 1]) / 5.0;
      }
#pragma end_scop
  for (i = 0; i < N; i++)
    sum += (double) (i % 7) * (i > half ? A[i][i] : -A[i][0]);
  printf("%g\n", (float) sum);
  return (int) sum % 2;
}
