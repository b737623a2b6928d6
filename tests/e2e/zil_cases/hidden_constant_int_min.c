// Constant terms of INT_MIN in the rows handed to the tiling library, hidden
// as -2147483647 - 1 (2147483648 is no int): a loop from 2147483647 - N up
// to INT_MAX along [-i - 1] (its lower bound becomes t <= N - 2147483648)
// and along [i + 1] (t >= 2147483648 - N), and a loop ending at
// N - 2147483648 under a general tiling.
// params: N K
// arrays: A B C D E
// block_sizes: 1 2 3 7 16 1048576 536870912 1073741824
// values: 0 0 | 1 0 | 3 1 | 4 0 | 4 1
int N;
int K;
int A[5];
int B[5];
double C[5][4];
int D[5];
int E[5];

void kernel() {
  int i;
#pragma begin_scop
  for (i = K; i < K + 5; i++) {
#pragma tile_group[0]
#pragma tile_ratio[3]
#pragma tile_hyperplans[-i]
#pragma schedule[0][__T][i][0]
    A[i - K] = A[i - K] + 3 * (i - K) + 1;
  }
  for (i = 2147483647 - N; i < 2147483647; i++) {
    if (i + K >= -K + K) {
#pragma tile_group[1]
#pragma tile_ratio[1]
#pragma tile_hyperplans[-i - 1]
#pragma schedule[1][__T][i][0]
      B[i - 2147483647 + N + 1] = B[i - 2147483647 + N + 1] + 3 * (i - 2147483647 + N) + (int)(C[i - 2147483647 + N + 1][i - 2147483647 + N - 1 + 1] * 7) + 1;
    }
  }
  for (i = 2147483647 - N; i < 2147483647; i++) {
#pragma tile_group[2]
#pragma tile_ratio[2]
#pragma tile_hyperplans[i + 1]
#pragma schedule[2][__T][i]
    D[i - 2147483647 + N] = D[i - 2147483647 + N] * 2 + B[i - 2147483647 + N] + 1;
  }
  for (i = -2147483647; i < N - 2147483647; i++) {
#pragma tile_group[3]
#pragma tile_lattice[1]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[3][__T][i]
    E[i + 2147483647] = E[i + 2147483647] * 3 + D[i + 2147483647] + 2;
  }
#pragma end_scop
}
