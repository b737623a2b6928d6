// stdout: Statement: unsupported operator in right-hand side: SgPointerDerefExp
int N;
int a[10];
int b[10];
int *p;

void kernel() {
  int i, j;
#pragma begin_scop
  for (i = 0; i < N; i++) {
#pragma schedule[i]
    a[i] = *p + 1;
  }
#pragma end_scop
}
