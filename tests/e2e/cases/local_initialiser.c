// Locals of the kernel's function initialised from run-time values are
// initialised on entry to tiled_kernel(), after the caller has set the
// values, not at program start; constant initialisers stay at file scope.
// params: N
// arrays: a
// values: 0 | 3 | 10 | 21
int N;
double a[24];

void kernel() {
  int i;
  int n = N + 2;
  double half = 0.5;
  double scale = half * n;
#pragma begin_scop
  for (i = 0; i < n; i++) {
#pragma schedule[i]
    a[i] = a[i] * scale + n;
  }
#pragma end_scop
}
