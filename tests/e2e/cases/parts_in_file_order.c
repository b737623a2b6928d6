// Static control parts whose dates all start alike (each part's schedule
// is written on its own): tiled_kernel() runs each part whole before the
// next, in file order, whether its statements are tiled or not and whether
// the parts share a function or not. Each part reads in reverse what the
// part before it wrote.
// params: N
// arrays: A B C
// values: 0 | 1 | 2 | 5 | 12
// call: (kernel(), kernel2())
int N;
int A[12];
int B[12];
int C[12];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    A[i] = A[i] + i;
#pragma schedule[i][1]
    C[i] = C[i] - A[i];
  }
#pragma end_scop
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma tile_group[0]
#pragma tile_size[4]
#pragma tile_hyperplans[i]
#pragma schedule[__T][i]
    B[i] = B[i] * 2 + A[N - 1 - i];
  }
#pragma end_scop
}

void kernel2() {
  int k;
#pragma begin_scop
  for (k = 0; k < N; k++) {
#pragma schedule[k]
    C[k] = C[k] + A[N - 1 - k] * B[N - 1 - k];
  }
#pragma end_scop
}
