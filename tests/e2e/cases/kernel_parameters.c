// Parameters of the kernel function, as benchmark suites write them: the
// tiled code declares them at file scope (an array parameter as the pointer
// it is), and the caller sets them before tiled_kernel().
// params: n
// arrays: alpha A_data x
// values: 0 | 1 | 5 | 12
// original_decls: int n; double alpha;
// driver_decls: double A_data[12][12];
// call: kernel(n, alpha, A_data)
// tiled_call: (A = A_data, tiled_kernel())
double x[12];

void kernel(int n, double alpha, double A[12][12]) {
  int i, j;
#pragma begin_scop
  for (i = 0; i < n; i++)
    for (j = 0; j <= i; j++) {
#pragma tile_group[0]
#pragma tile_size[4][4]
#pragma tile_hyperplans[i][j]
#pragma schedule[__T][__T][i][j]
      A[i][j] = A[i][j] * alpha + x[j];
    }
#pragma end_scop
}
