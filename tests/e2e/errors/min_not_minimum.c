// stdout: Program::from_Sage: the tiled code defines a function min; an input function of that name must return the minimum of its two int parameters: int min(int x, int y)
int min(int x, int y) { return x < y ? y : x; }
int N;
int a[100];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < min(N, 100); i++) {
#pragma schedule[i]
    a[i] = a[i] + 1;
  }
#pragma end_scop
}
