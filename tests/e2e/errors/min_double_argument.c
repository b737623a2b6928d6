// stdout: Program::from_Sage: min with an argument that is not an int, which the tiled code's function would not convert: min(x[i], 2)
int min(int a, int b) { return a < b ? a : b; }
int N;
double x[100];
int a[100];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] = min(x[i], 2) + min(a[i] * 2, (int)x[i]);
  }
#pragma end_scop
}
