// stdout: Program::from_Sage: tiled_kernel() initialises only scalars declared ahead of the static control part from run-time values: double w[2] = {a[0], a[1]};
int N;
double a[100];

void kernel() {
  int i;
  double w[2] = {a[0], a[1]};
#pragma begin_scop
  for (i = 2; i < N; i++) {
#pragma schedule[i]
    a[i] = w[0] * a[i - 1] + w[1] * a[i - 2];
  }
#pragma end_scop
}
