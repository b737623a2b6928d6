// stdout: Program::from_Sage: the tiled code defines a function floord; the input may not declare a variable of that name: double floord;
int N;
double floord;
double a[100];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] = a[i] * floord;
  }
#pragma end_scop
}
