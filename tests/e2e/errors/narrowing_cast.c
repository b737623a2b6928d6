// stdout: Expression::from_Sage: a cast to unsigned char may change the value: (unsigned char)N
// The model would read the bound as N itself, 300 where C has 44.
int N;
double A[400];

void kernel() {
  int i;
#pragma begin_scop
  for (i = 0; i < (unsigned char)N; i++) {
#pragma schedule[i]
    A[i] = A[i] + 1;
  }
#pragma end_scop
}
