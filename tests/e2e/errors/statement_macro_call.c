// stdout: Program::from_Sage: the tiled code defines a macro S0 for a statement, which would replace this call: S0(i)
// The statement macros of the tiled code are named S0, S1...: a call of a
// function of such a name would expand into a statement.
int N;
int a[100];
int b[100];
int S0(int x) { return 2 * x; }

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[0][i]
    a[i] = a[i] + 1;
#pragma schedule[1][i]
    b[i] = S0(i);
  }
#pragma end_scop
}
