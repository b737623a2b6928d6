// stdout: Program::from_Sage: two local declarations of t differ: 'int t;' and 'double t;'
int N;
double a[100];

int other() {
  int t;
  t = 3;
  return t;
}

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
