// stdout: Program::from_Sage: the local declaration 'double t;' shadows the file-scope declaration 'int t;'
int N;
int t;
double a[100];

void kernel() {
  int i;
  double t;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    t = a[i];
#pragma schedule[i][1]
    a[i] = t * 2;
  }
#pragma end_scop
}
