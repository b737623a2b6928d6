/* LU decomposition: a triangular, imperfect nest with lone schedules. */
#define N 256

static double A[N][N];
double L[N][N], U[N][N];
int i, j, k;

void lu(void)
{
#pragma begin_scop
  for (k = 0; k < N; k++) {
    for (j = k + 1; j < N; j++) {
#pragma schedule[k][j][0][0]
      A[k][j] = A[k][j] / A[k][k];
    }
    for (i = k + 1; i < N; i++)
      for (j = k + 1; j < N; j++)
        if (i <= j && j < N) {
#pragma schedule[k][i][j][1]
          A[i][j] = A[i][j] - A[i][k] * A[k][j];
        } else
          A[i][j] = A[i][j];
  }
#pragma end_scop
}

void split(void)
{
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++)
      if (i > j)
        L[i][j] = A[i][j];
      else if (i == j) {
        L[i][j] = 1.0;
        U[i][j] = A[i][j];
      } else
        U[i][j] = A[i][j];
}
