#include "oracle.h"

#include <cstdlib>
#include <numeric>

namespace {

using Big = __int128;

// An integer inequality row a.x + c >= 0 over n unknowns (c last).
using IRow = std::vector<Big>;

Big babs(Big v) { return v < 0 ? -v : v; }

void normalize(IRow &r) {
  Big g = 0;
  for (Big v : r) {
    Big a = babs(v), b = g;
    while (b) {
      Big t = a % b;
      a = b;
      b = t;
    }
    g = a;
  }
  if (g > 1)
    for (Big &v : r) v /= g;
}

// The inequalities of p (equalities as two), unknown signs included.
std::vector<IRow> inequalities(const FixedProblem &p) {
  std::vector<IRow> out;
  for (const auto &row : p.rows) {
    IRow r(row.begin() + 1, row.end());
    out.push_back(r);
    if (row[0] == 0) {
      for (Big &v : r) v = -v;
      out.push_back(r);
    }
  }
  if (!p.free_unknowns)
    for (int j = 0; j < p.nn; ++j) {
      IRow r(p.nn + 1, 0);
      r[j] = 1;
      out.push_back(r);
    }
  return out;
}

// Eliminates unknown j (Fourier-Motzkin): exact projection over Q.
std::vector<IRow> eliminate(const std::vector<IRow> &rows, int j) {
  std::vector<IRow> out, pos, neg;
  for (const IRow &r : rows)
    (r[j] > 0 ? pos : r[j] < 0 ? neg : out).push_back(r);
  for (const IRow &a : pos)
    for (const IRow &b : neg) {
      IRow r(a.size());
      for (size_t i = 0; i < a.size(); ++i) r[i] = a[i] * -b[j] + b[i] * a[j];
      normalize(r);
      out.push_back(r);
    }
  // Identical rows add nothing; dropping them keeps the elimination small.
  std::vector<IRow> unique;
  for (const IRow &r : out) {
    bool seen = false;
    for (const IRow &u : unique) seen = seen || u == r;
    if (!seen) unique.push_back(r);
  }
  return unique;
}

bool constants_hold(const std::vector<IRow> &rows) {
  for (const IRow &r : rows) {
    bool constant = true;
    for (size_t i = 0; i + 1 < r.size(); ++i) constant = constant && r[i] == 0;
    if (constant && r.back() < 0) return false;
  }
  return true;
}

// Substitutes unknown j = num/den (den > 0) into every row.
void substitute(std::vector<IRow> &rows, int j, Big num, Big den) {
  for (IRow &r : rows) {
    Big a = r[j];
    for (Big &v : r) v *= den;
    r[j] = 0;
    r.back() += a * num;
    normalize(r);
  }
}

Value reduced(Big num, Big den) {
  if (den < 0) num = -num, den = -den;
  Big a = babs(num), b = den;
  while (b) {
    Big t = a % b;
    a = b;
    b = t;
  }
  return {static_cast<long long>(num / a), static_cast<long long>(den / a)};
}

Big floor_div(Big a, Big b) {
  Big q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

Big ceil_div(Big a, Big b) { return -floor_div(-a, b); }

// Lexicographic integer optimum by branching on unknown j inside its
// rational range over the projection (exact, and finite since every unknown
// is bounded on both sides); the earlier unknowns are substituted in sys.
bool branch(const std::vector<IRow> &sys, int j, int nn, bool maximize,
            std::vector<long long> &x) {
  std::vector<IRow> proj = sys;
  for (int i = j + 1; i < nn; ++i) proj = eliminate(proj, i);
  if (j == nn) return constants_hold(proj);
  if (!constants_hold(eliminate(proj, j))) return false;
  bool have_lo = false, have_hi = false;
  Big lo = 0, hi = 0;
  for (const IRow &r : proj) {
    Big a = r[j], c = r.back();
    if (a > 0) {
      Big b = ceil_div(-c, a);
      if (!have_lo || b > lo) lo = b, have_lo = true;
    } else if (a < 0) {
      Big b = floor_div(c, -a);
      if (!have_hi || b < hi) hi = b, have_hi = true;
    }
  }
  if (!have_lo || !have_hi) abort();  // the oracle needs bounded unknowns
  for (Big i = 0; i <= hi - lo; ++i) {
    Big v = maximize ? hi - i : lo + i;
    std::vector<IRow> fixed = sys;
    substitute(fixed, j, v, 1);
    x[j] = static_cast<long long>(v);
    if (branch(fixed, j + 1, nn, maximize, x)) return true;
  }
  return false;
}

}  // namespace

FixedProblem fix_parameters(const Rows &rows, int nn, const std::vector<long long> &params,
                            bool free_unknowns, bool maximize) {
  FixedProblem p{nn, {}, free_unknowns, maximize};
  int np = params.size();
  for (const auto &row : rows) {
    std::vector<long long> r(row.begin(), row.begin() + 1 + nn);
    long long c = row[1 + nn + np];
    for (int i = 0; i < np; ++i) c += row[1 + nn + i] * params[i];
    r.push_back(c);
    p.rows.push_back(r);
  }
  return p;
}

bool in_context(const Rows &context, const std::vector<long long> &params, bool urs_parms) {
  int np = params.size();
  for (long long v : params)
    if (!urs_parms && v < 0) return false;
  for (const auto &row : context) {
    long long c = row[1 + np];
    for (int i = 0; i < np; ++i) c += row[1 + i] * params[i];
    if (row[0] == 0 ? c != 0 : c < 0) return false;
  }
  return true;
}

int first_unbounded(const Rows &rows, int nn, bool free_unknowns, bool maximize) {
  // The cone: the rows without parameters and constant.
  FixedProblem cone{nn, {}, free_unknowns, maximize};
  for (const auto &row : rows) {
    std::vector<long long> r(row.begin(), row.begin() + 1 + nn);
    r.push_back(0);
    cone.rows.push_back(r);
  }
  for (int k = 0; k < nn; ++k) {
    std::vector<IRow> sys = inequalities(cone);
    for (int j = 0; j < k; ++j) {
      IRow eq(nn + 1, 0);
      eq[j] = 1;
      sys.push_back(eq);
      eq[j] = -1;
      sys.push_back(eq);
    }
    IRow step(nn + 1, 0);
    step[k] = maximize ? 1 : -1;
    step[nn] = -1;
    sys.push_back(step);
    for (int j = 0; j < nn; ++j) sys = eliminate(sys, j);
    if (constants_hold(sys)) return k;
  }
  return nn;
}

bool integer_optimum(const FixedProblem &p, int solved, std::vector<long long> *best) {
  std::vector<long long> x(p.nn, 0);
  if (!branch(inequalities(p), 0, p.nn, p.maximize, x)) return false;
  best->assign(x.begin(), x.begin() + solved);
  return true;
}

bool rational_optimum(const FixedProblem &p, int solved, std::vector<Value> *best) {
  std::vector<IRow> sys = inequalities(p);
  best->clear();
  std::vector<IRow> all = sys;
  for (int i = 0; i < p.nn; ++i) all = eliminate(all, i);
  if (!constants_hold(all)) return false;
  // Fixing each unknown at its optimum keeps the rest feasible.
  for (int j = 0; j < solved; ++j) {
    std::vector<IRow> proj = sys;
    for (int i = j + 1; i < p.nn; ++i) proj = eliminate(proj, i);
    bool have = false;
    Big num = 0, den = 1;
    for (const IRow &r : proj) {
      Big a = r[j], c = r.back();
      // a x + c >= 0: a < 0 bounds x above by c / -a, a > 0 below by -c / a.
      if (p.maximize ? a >= 0 : a <= 0) continue;
      Big n = p.maximize ? c : -c, d = babs(a);
      bool better = !have || (p.maximize ? n * den < num * d : n * den > num * d);
      if (better) num = n, den = d, have = true;
    }
    if (!have) abort();  // unbounded where the cone said bounded
    best->push_back(reduced(num, den));
    substitute(sys, j, num, den);
  }
  return true;
}
