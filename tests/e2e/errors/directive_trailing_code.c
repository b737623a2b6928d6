// stderr: directive_trailing_code.c:14: error: text after the arguments of a directive: = 0; a[0] = 99; schedule[i][1]
// A directive is rewritten into an assignment to its carrier: code after
// its arguments would become a statement of the part, which the original
// program (for which a pragma is no code) never runs.
int N;
int a[20];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i][0]
    a[i] = a[i] + 1;
#pragma schedule[i][2] = 0; a[0] = 99; schedule[i][1]
    a[i] = a[i] * 2;
  }
#pragma end_scop
}
