// stdout: Program::from_Sage: the tiled code defines a function max; the input may not define a macro of that name: #define max(a, b) ((a) > (b) ? (a) : (b))
#define max(a, b) ((a) > (b) ? (a) : (b))
int N;
int a[100];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] = a[i] + 1;
  }
#pragma end_scop
}
