// Large constants of a domain handed to the tiling library, turned into
// hidden size parameters.
//
// The library makes one piece per block offset that a constraint's constant
// term d can reach, about |d| / (minimum block size) of them: a bound such
// as i < 1000 asks for a thousand pieces per constraint, and the cross
// product of the constraints for their product. A size parameter N costs a
// piece or two whatever its value, since the tiled code splits it into
// N / block_size and N % block_size at run time. So a large d becomes
// sign(d) * H, H a parameter of the fixed value |d| (INT_MIN becomes
// -H - 1, H of value INT_MAX), which the tiled code splits like N into
// H / block_size and H % block_size. H is registered
// under the decimal text of its value, a name no input variable can take;
// only its splits (split_name, of a family of their own) appear in the
// tiled code, and their initialisers read the value itself.
//
// A parameter is not free either (two more dimensions for the code
// generator), so d counts as large only where H in its place saves at least
// two pieces of its row: offsets such as N - 2 stay constants.

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

#include "GeneratedName.h"
#include "Rank.h"
#include "ZILWrapper.h"

namespace ZILWrapper {

namespace {

// Whether a row of `plain` pieces, `hidden` with its constant hidden, is
// worth a parameter: the pieces at least halve, and at least two go.
bool worth_hiding(long long plain, long long hidden) {
  return hidden <= plain / 2 && hidden <= plain - 2;
}

// A constant of magnitude 0 or 1 moves the block range of its row by one
// offset at most, less than a parameter in its place costs.
bool may_hide(int d) { return d < -1 || d > 1; }

// The value of the hidden parameter of a constant d: |d|, but INT_MAX for
// INT_MIN, whose magnitude no int holds (the parameter's name and the rows
// are int): INT_MIN = -INT_MAX - 1 keeps the constant -1 beside it.
int hidden_value(int d) { return d == INT_MIN ? INT_MAX : std::abs(d); }

// What stays of the constant d once sign(d) * hidden_value(d) is hidden.
int kept_constant(int d) { return d == INT_MIN ? -1 : 0; }

// `rows` with one more parameter column before the constant, in which row r
// holds sign(d) and the kept constant when `hide`[r], and 0 otherwise.
Rows with_hidden_column(const Rows& rows, const std::vector<bool>& hide) {
  Rows result = rows;
  for (size_t r = 0; r < result.size(); r++) {
    std::vector<int>& row = result[r];
    int d = row.back();
    row.insert(row.end() - 1, hide[r] ? (d > 0 ? 1 : -1) : 0);
    if (hide[r]) row.back() = kept_constant(d);
  }
  return result;
}

// The rank of the hidden parameter of `value`, registered on first use.
int hidden_parameter(int value) {
  std::string name = hidden_constant_name(value);
  create_parameter_rank(name);
  return get_parameter_rank(name);
}

}  // namespace

HiddenRows hide_large_constants(const Rows& rows, const PieceCounter& count) {
  int nb_parameters = static_cast<int>(active_parameters.size());
  HiddenRows result;
  result.counts = count(rows, nb_parameters);
  result.rows = rows;
  std::vector<bool> candidate(rows.size());
  for (size_t r = 0; r < rows.size(); r++) candidate[r] = may_hide(rows[r].back());
  if (std::find(candidate.begin(), candidate.end(), true) == candidate.end()) return result;
  // The rows are tiled one by one, so a single column can stand for every
  // candidate's parameter while the savings are counted.
  std::vector<long long> trial = count(with_hidden_column(rows, candidate), nb_parameters + 1);
  for (size_t r = 0; r < rows.size(); r++) {
    if (!candidate[r] || !worth_hiding(result.counts[r], trial[r])) continue;
    int d = rows[r].back();
    int h = hidden_parameter(hidden_value(d));
    size_t k = 0;
    while (k < active_parameters.size() && active_parameters[k] != h) k++;
    if (k == active_parameters.size()) {
      active_parameters.push_back(h);
      result.hidden.push_back(h);
      for (std::vector<int>& row : result.rows) row.insert(row.end() - 1, 0);
    }
    std::vector<int>& row = result.rows[r];
    row[1 + active_counters.size() + k] = d > 0 ? 1 : -1;
    row.back() = kept_constant(d);
    result.counts[r] = trial[r];
  }
  return result;
}

long long estimated_pieces(const std::vector<long long>& counts) {
  long long product = 1;
  for (long long c : counts) product = c != 0 && product > LLONG_MAX / c ? LLONG_MAX : product * c;
  return product;
}

}  // namespace ZILWrapper
