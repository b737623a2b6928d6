// Static control parts under parametric tilings whose dates all start
// alike: tiled_kernel() runs each part whole before the next, in file
// order, rectangular, general and untiled parts alike, in one function or
// in two. Each part reads in reverse what the part before it wrote.
// params: N
// arrays: A B C
// block_sizes: 1 2 3 5
// values: 0 | 1 | 2 | 7 | 12
// call: (kernel(), kernel2())
int N;
int A[12];
int B[12];
int C[12][12];

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_ratio[1]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    A[i] = A[i] + i;
  }
#pragma end_scop
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_lattice[1]
#pragma tile_shape[i][block_size - 1 - i]
#pragma schedule[__T][i]
    B[i] = B[i] * 2 + A[N - 1 - i];
  }
#pragma end_scop
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    A[i] = A[i] - B[N - 1 - i];
  }
#pragma end_scop
}

void kernel2() {
  int k, l;
#pragma begin_scop
  for (k = 0; k < N; k++)
    for (l = 0; l < N; l++) {
#pragma tile_group[0]
#pragma tile_ratio[1][2]
#pragma tile_hyperplans[k][l]
#pragma schedule[__T][__T][k][l]
      C[k][l] = C[k][l] + A[N - 1 - k] * B[N - 1 - l];
    }
#pragma end_scop
}
