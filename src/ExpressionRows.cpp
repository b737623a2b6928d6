// Affine trees from coefficient rows: a left-nested PLUS chain starting with
// the constant, a coefficient other than 1 as TIMES(c, leaf).

#include <iostream>

#include "Expression.h"
#include "ExpressionNode.h"
#include "Stop.h"

namespace {

Expression* add_term(Expression* sum, int c, Expression* leaf) {
  Expression* term = c == 1 ? leaf : make_node(TIMES, new Expression(c), leaf);
  return make_node(PLUS, sum, term);
}

// The unsimplified sum of a full row without flag.
Expression* row_sum(const std::vector<int>& row, int nbc, int nbp) {
  Expression* sum = new Expression(row[nbc + nbp]);
  for (int i = 0; i < nbc; i++)
    if (row[i] != 0) sum = add_term(sum, row[i], Expression::from_counter_rank(i));
  for (int j = 0; j < nbp; j++)
    if (row[nbc + j] != 0) sum = add_term(sum, row[nbc + j], make_parameter_leaf(j));
  return sum;
}

void check_ranks(const std::vector<int>& ranks, int bound) {
  for (int rank : ranks)
    if (rank < 0 || rank >= bound)
      stop(std::cout, "Expression(vector, ranks): rank out of range: " + std::to_string(rank));
}

// The full row of coefficients given on chosen ranks, after checking the
// ranks and the size.
std::vector<int> spread(const std::vector<int>& coefs, const std::vector<int>& counters,
                        const std::vector<int>& parameters) {
  int nbc = get_nb_counters();
  int nbp = get_nb_parameters();
  check_ranks(counters, nbc);
  check_ranks(parameters, nbp);
  size_t expected = counters.size() + parameters.size() + 1;
  if (coefs.size() != expected)
    stop(std::cout, "Expression(vector, ranks): bad vector size" + std::to_string(expected) +
                        "\n" + std::to_string(coefs.size()));
  std::vector<int> row(nbc + nbp + 1, 0);
  for (size_t k = 0; k < counters.size(); k++) row[counters[k]] = coefs[k];
  for (size_t k = 0; k < parameters.size(); k++)
    row[nbc + parameters[k]] = coefs[counters.size() + k];
  row[nbc + nbp] = coefs[expected - 1];
  return row;
}

}  // namespace

void Expression::take_row(const std::vector<int>& full_row) {
  int nbc = get_nb_counters();
  int nbp = get_nb_parameters();
  size_t width = nbc + nbp + 1;
  if (full_row.size() != width && full_row.size() != width + 1)
    stop(std::cout, "Expression(polylib_vector): bad vector size" + std::to_string(width) +
                        "\n" + std::to_string(full_row.size()));
  std::vector<int> row(full_row.end() - width, full_row.end());
  Expression* sum = row_sum(row, nbc, nbp);
  Expression* simplified = sum->simplify();
  delete sum;
  clear_operands();
  shallow_copy(simplified);
  delete simplified;
  has_vector = 1;
  vec = row;
  _nb_counters = nbc;
  _nb_parameters = nbp;
}

Expression::Expression(std::vector<int> row) {
  init_leaf();
  take_row(row);
}

Expression::Expression(std::vector<int> coefs, std::set<int> counters,
                       std::set<int> parameters) {
  init_leaf();
  take_row(spread(coefs, std::vector<int>(counters.begin(), counters.end()),
                  std::vector<int>(parameters.begin(), parameters.end())));
}

Expression::Expression(std::vector<int> coefs, std::vector<int> counters,
                       std::vector<int> parameters) {
  init_leaf();
  take_row(spread(coefs, counters, parameters));
}
