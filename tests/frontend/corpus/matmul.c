/* Matrix product with a constant tiling of its three loops. */
#include <stdio.h>
#include <stdlib.h>

#define N 512
#define TS 32

double A[N][N], B[N][N], C[N][N];
extern int verbose;

void kernel(void)
{
  int i, j, k;
#pragma begin_scop
  for (i = 0; i < N; i++)
    for (j = 0; j < N; j++) {
#pragma tile_group[0]
#pragma tile_size[TS][TS]
#pragma tile_hyperplans[i][j]
#pragma schedule[i][j][0]
      C[i][j] = 0;
      for (k = 0; k < N; k++) {
#pragma tile_group[0]
#pragma tile_size[TS][TS][TS]
#pragma tile_hyperplans[i][j][k]
#pragma schedule[i][j][k + 1]
        C[i][j] = C[i][j] + A[i][k] * B[k][j];
      }
    }
#pragma end_scop
}

int main(int argc, char **argv)
{
  kernel();
  if (argc > 1)
    printf("%f\n", C[0][0]);
  return 0;
}
