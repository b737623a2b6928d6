// stdout: Program::from_Sage: the tiled code defines a function ceild; the input may not declare a function of that name: int ceild(int n, int d)
int ceild(int n, int d) { return (n + d - 1) / d; }
int N;
int a[100];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] = a[i] + ceild(i, 4);
  }
#pragma end_scop
}
