// Locals of the kernel's function initialised from run-time values are
// initialised on entry to tiled_kernel(), after the caller has set the
// values, not at program start; constant initialisers stay at file scope.
// A pointer takes malloc's void * as C converts it. A scalar initialised
// from a constant starts from it on every call (the kernel runs twice).
// params: N
// arrays: a out
// call: (kernel(), kernel())
// tiled_call: (tiled_kernel(), tiled_kernel())
// values: 0 | 3 | 10 | 21
int N;
double a[24];
double out[24];

void kernel() {
  int i;
  int n = N + 2;
  double half = 0.5;
  double scale = half * n;
  double *tmp = malloc((n + 1) * sizeof(double));
  double total = 0.0;
#pragma begin_scop
  for (i = 0; i < n; i++) {
#pragma schedule[i][0]
    tmp[i] = a[i] * scale + n;
#pragma schedule[i][1]
    a[i] = tmp[i] - 1;
#pragma schedule[i][2]
    total = total + a[i];
#pragma schedule[i][3]
    out[i] = total;
  }
#pragma end_scop
}
