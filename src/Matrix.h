#ifndef TARVEX_MATRIX_H
#define TARVEX_MATRIX_H

// Integer linear algebra on plain containers. An integer matrix is a vector of
// rows of 32-bit ints; its width is the length of its first row and a matrix
// without rows is empty. Arithmetic is 32-bit without overflow checks.
//
// Every argument is read, never changed (except the target of fill and
// fill_acc), and every result is a new value owned by the caller. A failure
// prints "Matrix::<operation>: <reason>" and ends the process with status 1.

#include <iosfwd>
#include <list>
#include <set>
#include <vector>

class Expression;
class Inequation;
class Polyhedron;

using IntVector = std::vector<int>;
using IntMatrix = std::vector<std::vector<int>>;

// ---- constructors and shape changes ----

// r x c zeros; r and c must be at least 1.
IntMatrix null_matrix(int r, int c);
// n x n identity; empty for n = 0.
IntMatrix identity_matrix(int n);
IntVector null_vector(int n);
// n entries, all 0 but the last, which is 1 (the constant of an affine row).
IntVector unity_vector(int n);
// len(v) rows of one entry.
IntMatrix column_matrix(const IntVector& v);
// The single entry of each row.
IntVector column_matrix_to_vector(const IntMatrix& m);
IntMatrix transpose(const IntMatrix& m);
// v[start] ... v[start + n - 1].
IntVector sub_vector(const IntVector& v, int start, int n);
IntVector get_column(const IntMatrix& m, int j);
IntVector get_last_column(const IntMatrix& m);
// The h x w block whose top left corner is m[i][j].
IntMatrix get_sub_matrix(const IntMatrix& m, int i, int j, int h, int w);
// Every row reduced to its entries at the indices of s, ascending.
IntMatrix get_sub_matrix(const IntMatrix& m, const std::set<int>& s);
IntMatrix remove_null_lines(const IntMatrix& m);
// Every row without its entry j; a row too short to have one is kept whole.
IntMatrix remove_column(const IntMatrix& m, int j);
// Every row without its entries at the indices of s; warns on standard error
// for each non-zero entry removed.
IntMatrix remove_columns(const IntMatrix& m, const std::set<int>& s);
IntMatrix remove_last_column(const IntMatrix& m);
// m without rows i to j inclusive.
IntMatrix remove_lines(const IntMatrix& m, int i, int j);
// Rows of width n, zero except R[r][pos[k]] = m[r][k].
IntMatrix insert_null_columns(const IntMatrix& m, const IntVector& pos, int n);
// Side by side: row i is a[i] followed by b[i].
IntMatrix concat(const IntMatrix& a, const IntMatrix& b);
IntMatrix concat(const IntMatrix& m, const IntVector& v);
// a above b; an empty side gives the other side whatever its width.
IntMatrix concat_v(const IntMatrix& a, const IntMatrix& b);
// Row k of the result is m[p[k]].
IntMatrix permute_lines(const IntMatrix& m, const IntVector& p);
// r with r[p[i]] = i.
IntVector invert_permutation(const IntVector& p);
// v with the entries outside s (inside s for the complement) set to 0.
IntVector mask_vector(const IntVector& v, const std::set<int>& s);
IntVector mask_vector_complement(const IntVector& v, const std::set<int>& s);
std::set<int> vec_to_set(const IntVector& v);

// ---- block copies into the target m (checked before anything is written) ----

// m[i + a][j + b] = b[a][b] (fill) or += (fill_acc).
void fill(IntMatrix& m, IntMatrix b, int i, int j);
void fill_acc(IntMatrix& m, IntMatrix b, int i, int j);
// v written down column j from row i.
void fill(IntMatrix& m, IntVector v, int i, int j);

// ---- products and sums ----

IntMatrix operator*(const IntMatrix& a, const IntMatrix& b);
// a times v as a column.
IntVector operator*(const IntMatrix& a, const IntVector& v);
// x as a row times a.
IntVector operator*(const IntVector& x, const IntMatrix& a);
IntMatrix operator*(int k, const IntMatrix& a);
IntVector operator*(int k, const IntVector& v);
IntMatrix operator+(const IntMatrix& a, const IntMatrix& b);
IntMatrix operator-(const IntMatrix& a, const IntMatrix& b);
IntMatrix operator-(const IntMatrix& a);
IntVector operator-(const IntVector& v);
IntVector operator+(const IntVector& u, const IntVector& v);
// v with k added to its last entry (the constant of an affine row).
IntVector operator+(int k, const IntVector& v);

// ---- products and sums with expression vectors ----
// Every entry of a result is a new tree owned by the caller, built over
// clones of the expressions given (which stay the caller's) and never
// simplified: a product entry is the chain ((0 + t0) + t1) ... of TIMES terms.

// Row i holds a clone of v[i].
std::vector<std::vector<Expression*>> column_matrix(const std::vector<Expression*>& v);
// Entry j: the chain of x[i] * a[i][j] (the expression on the left).
std::vector<Expression*> operator*(const std::vector<Expression*>& x, const IntMatrix& a);
// Entry i: the chain of a[i][j] * x[j] (the constant on the left).
std::vector<Expression*> operator*(const IntMatrix& a, const std::vector<Expression*>& x);
// The chain of x[i] * a[i], in both argument orders.
Expression* operator*(const IntVector& a, const std::vector<Expression*>& x);
Expression* operator*(const std::vector<Expression*>& x, const IntVector& a);
// Entry-wise PLUS nodes.
std::vector<Expression*> operator+(const std::vector<Expression*>& u, const std::vector<Expression*>& v);
std::vector<Expression*> operator+(const IntVector& u, const std::vector<Expression*>& v);
std::vector<Expression*> operator+(const std::vector<Expression*>& u, const IntVector& v);

// ---- constraints from expressions (new objects owned by the caller) ----

// e == 0, respectively e >= 0, over clones of e.
Inequation* equal_zero(Expression* e);
Inequation* positive(Expression* e);
// The universe with v[i] == 0, respectively v[i] >= 0, added in order.
Polyhedron* equal_zero(const std::vector<Expression*>& v);
Polyhedron* positive(const std::vector<Expression*>& v);

// ---- tests (1 or 0) ----

int is_null_col(const IntMatrix& m, int j);
int is_null_vec(const IntVector& v);
int belong_vec(int x, const IntVector& v);
// Every non-zero entry of a equals the entry of b at the same index.
int sub_vec(const IntVector& a, const IntVector& b);

// ---- normal forms, inverses and compositions ----

// [U, S, V] with m = U·S·V, S the Smith normal form, U and V unimodular.
std::vector<IntMatrix> snf(const IntMatrix& m);
// The integer inverse of the square matrix m; stops when m has none.
IntMatrix inverse(const IntMatrix& m);
// The affine left inverse of t (rows [input coefficients | constant]) on the
// integer points of the context a (rows [coefficients | constant] == 0, may
// be empty): n rows [coefficients of t's outputs | constant] giving each
// input back from the outputs.
IntMatrix left_inverse(const IntMatrix& t, const IntMatrix& a);
// u after v, both rows [counters | parameters | constant]: v maps its
// nb_counters_v counters to the nb_counters_u counters that u reads.
IntMatrix compose(const IntMatrix& u, int nb_counters_u, int nb_parameters_u, const IntMatrix& v,
                  int nb_counters_v, int nb_parameters_v);
// R with m·R the identity, through isl; empty for an empty m.
IntMatrix right_inverse_isl(const IntMatrix& m);
// transpose(right_inverse_isl(transpose(m))).
IntMatrix left_inverse_isl(const IntMatrix& m);
// Vectors orthogonal to v, one per index p > 0 where v[0] or v[p] is not 0.
IntMatrix orth(const IntVector& v);

// ---- printing of 64-bit matrices and lists of matrices ----

// Same layout as the stream output of an integer matrix.
std::ostream& operator<<(std::ostream& out, const std::vector<std::vector<long>>& m);
// "[", each matrix followed by a line end, "]".
std::ostream& operator<<(std::ostream& out, const std::list<std::vector<std::vector<long>>>& l);
// For each k: "k: ", a line end, the matrix, a line end.
std::ostream& operator<<(std::ostream& out, const std::vector<IntMatrix>& v);

#endif
