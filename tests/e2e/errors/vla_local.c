// stdout: Program::from_Sage: variable-length array: double tmp[N];
int N;
double a[100];

void kernel() {
  int i;
  double tmp[N];
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    tmp[i] = a[i];
#pragma schedule[i][1]
    a[i] = tmp[i] * 2;
  }
#pragma end_scop
}
