// Tilings of affine functions: the permutation helpers, the stops, and the
// map-back oracle: the tiled point of every input point lies in one
// condition piece, whose outputs join back into the function's value.

#include <functional>
#include <random>

#include "CommandTest.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Rank.h"
#include "ZILTestSupport.h"
#include "ZILWrapper.h"

namespace {

typedef ZILWrapper::tiled_function_t Tiled;
typedef std::vector<long long> Values64;
// The tiled input point of x (tiled counter rank -> value) at the
// parameter values given.
typedef std::function<Values(const Point& x, const Values& parameters, int b)> Split;
// The function's value from the outputs of a piece (block parts, then
// local parts).
typedef std::function<Values64(const Values64& outputs, const Values& parameters, int b)> Join;

using ZILFunctionsTest = CommandTest;

// The value of every named parameter.
Values64 values_of(const std::vector<std::string>& names, const Values& values) {
  Values64 result;
  for (const std::string& name : names) result.push_back(values.at(get_parameter_rank(name)));
  return result;
}

// The value of e; a division must be exact, as the library promises where
// its pieces hold.
long long exact_value(const Expression* e, const Values& counters, const Values& parameters) {
  if (e->is_leaf) return e->evaluate_int(counters, parameters);
  long long a = exact_value(e->fg, counters, parameters), b = exact_value(e->fd, counters, parameters);
  switch (e->op) {
    case PLUS: return a + b;
    case MINUS: return a - b;
    case TIMES: return a * b;
    case DIV:
      EXPECT_EQ(a % b, 0) << "inexact division " << text(e);
      return floor_div(a, b);
    default: ADD_FAILURE() << "operator " << e->op; return 0;
  }
}

bool holds_at(Polyhedron* p, const Values& counters, const Values& parameters) {
  for (Inequation* c : p->constraints)
    if (!holds(c->pred, exact_value(c->lhs, counters, parameters), exact_value(c->rhs, counters, parameters)))
      return false;
  return true;
}

// Σ row[k]·values[k] over the values given, plus the row's last entry when
// `constant` is set.
long long linear(const std::vector<int>& row, const Values64& values, bool constant) {
  long long v = constant ? row.back() : 0;
  for (size_t k = 0; k < values.size(); k++) v += row[k] * values[k];
  return v;
}

Values64 joined(Values64 a, const Values64& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The tiling of the named counters and parameters, named after them.
ZILWrapper::tiling_t tiling_of(const std::vector<std::string>& counters, const std::vector<std::string>& parameters) {
  int width = static_cast<int>(counters.size() + parameters.size()) + 2;
  Rows rows;
  for (int k = 1; k < width - 1; k++) {
    std::vector<int> row(width, 0);
    row[0] = row[k] = 1;
    rows.push_back(row);
  }
  Polyhedron* p = rows_over(rows, counters, parameters);
  ZILWrapper::active_counters.clear();
  ZILWrapper::active_parameters.clear();
  ZILWrapper::tiling_t t = ZILWrapper::make_tiling_variables(p);
  declare_parameter("block_size");
  delete p;
  return t;
}

IndexFunction* function(const Rows& rows, const std::vector<std::string>& counters,
                        const std::vector<std::string>& parameters) {
  return new IndexFunction(rows, counter_ranks(counters), parameter_ranks(parameters));
}

// [-3, 6]^dim.
std::vector<Point> box(size_t dim) {
  std::vector<Point> points;
  Point x(dim, -3);
  while (true) {
    points.push_back(x);
    size_t k = 0;
    while (k < dim && x[k] == 6) x[k++] = -3;
    if (k == dim) return points;
    x[k]++;
  }
}

// For x in [-3, 6]^n, the parameters at 0, 3 and 7 (plus their position),
// b in {4, 5}: the tiled point of x lies in exactly one piece, whose
// outputs join back into index(x, N).
void check_map_back(const Tiled& f, IndexFunction* index, const std::vector<std::string>& counters,
                    const std::vector<std::string>& parameters, const Split& split, const Join& join) {
  std::vector<int> x_ranks = counter_ranks(counters);
  for (int n : {0, 3, 7})
    for (int b : {4, 5}) {
      std::map<std::string, int> sizes;
      for (size_t k = 0; k < parameters.size(); k++) sizes[parameters[k]] = n + static_cast<int>(k);
      Values values = split_values(sizes, b);
      for (const Point& x : box(counters.size())) {
        Values at = split(x, values, b);
        Values xv;
        for (size_t k = 0; k < x.size(); k++) xv[x_ranks[k]] = x[k];
        int holders = 0;
        for (const auto& piece : f) {
          if (!holds_at(piece.first, at, values)) continue;
          holders++;
          Values64 outputs;
          for (Expression* e : piece.second->index_mapping) outputs.push_back(exact_value(e, at, values));
          Values64 z = join(outputs, values, b);
          for (size_t i = 0; i < index->index_mapping.size(); i++)
            ASSERT_EQ(z[i], index->index_mapping[i]->evaluate_int(xv, values))
                << "output " << i << " N " << n << " b " << b << " x0 " << x[0];
        }
        ASSERT_EQ(holders, 1) << "N " << n << " b " << b << " x0 " << x[0];
      }
    }
}

void release(Tiled& f) {
  for (auto& piece : f) {
    delete piece.first;
    delete piece.second;
  }
  f.clear();
}

Values tiled_point(const std::vector<std::string>& counters, const Values64& outer, const Values64& inner) {
  Values at;
  for (size_t k = 0; k < counters.size(); k++) {
    at[get_counter_rank("outer_" + counters[k])] = static_cast<int>(outer[k]);
    at[get_counter_rank("inner_" + counters[k])] = static_cast<int>(inner[k]);
  }
  return at;
}

// ---- rectangular ----

struct RectangularCase {
  Rows f;  // [x | N | constant]
  int n, p;
  std::vector<int> in, out;
};

Split rectangular_split(const std::vector<std::string>& counters, const std::vector<int>& in) {
  return [=](const Point& x, const Values&, int b) {
    Values64 outer, inner;
    for (size_t k = 0; k < x.size(); k++) {
      long long side = static_cast<long long>(in[k]) * b;
      outer.push_back(floor_div(x[k], side));
      inner.push_back(x[k] - side * outer.back());
    }
    return tiled_point(counters, outer, inner);
  };
}

// z_i = t_i·b·block_i + local_i, 0 <= local_i < t_i·b.
Join rectangular_join(const std::vector<int>& out) {
  return [=](const Values64& outputs, const Values&, int b) {
    size_t m = out.size();
    Values64 z;
    for (size_t i = 0; i < m; i++) {
      long long side = static_cast<long long>(out[i]) * b;
      EXPECT_TRUE(0 <= outputs[m + i] && outputs[m + i] < side) << "local output " << outputs[m + i];
      z.push_back(side * outputs[i] + outputs[m + i]);
    }
    return z;
  };
}

TEST_F(ZILFunctionsTest, LinePermutationAndDoubleVector) {
  EXPECT_EQ(ZILWrapper::set_line_permutation({7, 5}, {5, 7}), (std::vector<int>{1, 0}));
  EXPECT_EQ(ZILWrapper::set_line_permutation({5}, {5, 5}), (std::vector<int>{1}));
  EXPECT_STOP_ON_STDERR(ZILWrapper::set_line_permutation({9}, {5, 7}),
                        "ZILWrapper::set_line_permutation: incorrect output_counter_rank");
  EXPECT_EQ(ZILWrapper::double_vector({2, 0, 1}), (std::vector<int>{2, 0, 1, 5, 3, 4}));
  EXPECT_TRUE(ZILWrapper::double_vector({}).empty());
}

TEST_F(ZILFunctionsTest, RectangularTilingMapsBackToTheFunction) {
  std::mt19937 g(1105);
  std::uniform_int_distribution<int> coefficient(-2, 2), constant(-3, 3), ratio(1, 2);
  std::vector<RectangularCase> cases = {{{{1, 0}}, 1, 0, {1}, {1}}, {{{2, 2, -1}, {1, 0, 0}}, 1, 1, {2}, {2, 1}}};
  for (int trial = 0; trial < 10; trial++) {
    RectangularCase c;
    c.n = 1 + trial % 2;
    c.p = trial / 2 % 2;
    int m = 1 + trial / 4 % 2;
    for (int k = 0; k < c.n; k++) c.in.push_back(ratio(g));
    for (int i = 0; i < m; i++) {
      std::vector<int> row;
      for (int k = 0; k < c.n + c.p; k++) row.push_back(coefficient(g));
      row.push_back(constant(g));
      c.f.push_back(row);
      // Ratio 2 where it divides the block coefficients.
      bool even = true;
      for (int k = 0; k < c.n + c.p; k++) even = even && (k < c.n ? c.in[k] : 1) * row[k] % 2 == 0;
      c.out.push_back(even ? 2 : 1);
    }
    cases.push_back(c);
  }
  for (const RectangularCase& c : cases) {
    clear_registries();
    std::vector<std::string> x = numbered("x", c.n), p = numbered("N", c.p);
    ZILWrapper::tiling_t input = tiling_of(x, p), output = tiling_of(numbered("z", c.f.size()), {});
    IndexFunction* index = function(c.f, x, p);
    std::map<int, int> scale;
    for (int k = 0; k < c.n; k++) scale[get_counter_rank(x[k])] = c.in[k];
    Tiled f = ZILWrapper::get_rectangular_tiled_function(index, scale, c.out, input, output);
    SCOPED_TRACE("case " + std::to_string(&c - &cases[0]));
    check_map_back(f, index, x, p, rectangular_split(x, c.in), rectangular_join(c.out));
    delete index;
    release(f);
  }
}

TEST_F(ZILFunctionsTest, IdentityGivesOneEntryOfTheSplitCounter) {
  ZILWrapper::tiling_t input = tiling_of({"i"}, {});
  IndexFunction* index = function({{1, 0}}, {"i"}, {});
  Tiled f = ZILWrapper::get_rectangular_tiled_function(index, {{get_counter_rank("i"), 1}}, {1}, input, input);
  ASSERT_EQ(f.size(), 1u);
  IndexFunction* g = f.begin()->second;
  ASSERT_EQ(g->index_mapping.size(), 2u);
  EXPECT_EQ(text(g->index_mapping[0]), "outer_i");
  EXPECT_EQ(text(g->index_mapping[1]), "inner_i");
  // 0 <= inner_i <= block_size - 1 and block_size >= 4.
  Polyhedron* implied = rows_over({{1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}, {1, 0, 0, 1, -4}}, {"outer_i", "inner_i"},
                                  {"block_size"});
  EXPECT_EQ(implied->contains(f.begin()->first), 1);
  delete implied;
  delete index;
  release(f);
}

TEST_F(ZILFunctionsTest, RectangularStops) {
  const std::string who = "ZILWrapper::get_rectangular_tiled_function: ";
  ZILWrapper::tiling_t input = tiling_of({"i"}, {"N"});
  int i = get_counter_rank("i");
  IndexFunction* index = function({{1, 0, 0}}, {"i"}, {"N"});
  // f(i) = i with output ratio 2: the block part would be rational.
  expect_silent_stop([&] { ZILWrapper::get_rectangular_tiled_function(index, {{i, 1}}, {2}, input, input); },
                     who + "output ratio 2 does not divide the block coefficients of output #0");
  expect_silent_stop([&] { ZILWrapper::get_rectangular_tiled_function(index, {}, {1}, input, input); },
                     who + "no tile ratio for counter i");
  expect_silent_stop([&] { ZILWrapper::get_rectangular_tiled_function(index, {{i, 0}}, {1}, input, input); },
                     who + "tile ratio 0 is below 1");
  expect_silent_stop([&] { ZILWrapper::get_rectangular_tiled_function(index, {{i, 1}}, {}, input, input); },
                     who + "0 tile ratios for 1 outputs");
  declare_counter("j");
  IndexFunction* foreign = function({{1, 1, 0}}, {"i", "j"}, {});
  expect_silent_stop([&] { ZILWrapper::get_rectangular_tiled_function(foreign, {{i, 1}}, {1}, input, input); },
                     who + "the function uses j, which is not among the tiled variables");
  // block_size is looked up, not declared.
  clear_registries();
  register_names({"i"}, {});
  ZILWrapper::tiling_t plain = {{{0, {0, 0}}}, {}};
  IndexFunction* identity = function({{1, 0}}, {"i"}, {});
  EXPECT_STOP_ON_STDOUT(ZILWrapper::get_rectangular_tiled_function(identity, {{0, 1}}, {1}, plain, plain),
                        "get_parameter_rank: block_size not found.");
  for (IndexFunction* f : {index, foreign, identity}) delete f;
}

// ---- parallelepipedic ----

struct ParallelepipedicCase {
  Rows f;                    // [x | N | constant]
  int n, p;
  Rows h1, h2;               // [x | N | constant], [z | N | constant]
  std::vector<int> in, out;  // ratios
  std::vector<int> sigma;    // output i computes the output counter z<sigma[i]>
};

// y = M1(x, N) split by s·b, then carried back by the doubled inverse of M1.
Split parallelepipedic_split(const std::vector<std::string>& counters, const std::vector<std::string>& parameters,
                             const Rows& h1, const Rows& h1_inverse, const std::vector<int>& in) {
  return [=](const Point& x, const Values& values, int b) {
    Values64 n = values_of(parameters, values), block_n, local_n;
    for (const std::string& p : parameters) {
      block_n.push_back(values.at(get_parameter_rank("outer_" + p)));
      local_n.push_back(values.at(get_parameter_rank("inner_" + p)));
    }
    Values64 block, local;
    for (size_t k = 0; k < h1.size(); k++) {
      long long y = linear(h1[k], joined(Values64(x.begin(), x.end()), n), true), side = in[k] * b;
      block.push_back(floor_div(y, side));
      local.push_back(y - side * block.back());
    }
    Values64 outer, inner;
    for (const std::vector<int>& row : h1_inverse) {
      outer.push_back(linear(row, joined(block, block_n), false));
      inner.push_back(linear(row, joined(local, local_n), true));
    }
    return tiled_point(counters, outer, inner);
  };
}

// The outputs, in the function's order, put in output counter order,
// carried to the hyperplane coordinates by the doubled M2, joined with the
// ratios and carried back by M2's inverse.
Join parallelepipedic_join(const std::vector<std::string>& parameters, const Rows& h2, const Rows& h2_inverse,
                           const std::vector<int>& out, const std::vector<int>& sigma) {
  return [=](const Values64& outputs, const Values& values, int b) {
    size_t m = sigma.size();
    Values64 n = values_of(parameters, values), block_n, local_n;
    for (const std::string& p : parameters) {
      block_n.push_back(values.at(get_parameter_rank("outer_" + p)));
      local_n.push_back(values.at(get_parameter_rank("inner_" + p)));
    }
    Values64 block(m), local(m), t;
    for (size_t i = 0; i < m; i++) block[sigma[i]] = outputs[i], local[sigma[i]] = outputs[m + i];
    for (size_t k = 0; k < m; k++) {
      long long side = static_cast<long long>(out[k]) * b;
      long long tl = linear(h2[k], joined(local, local_n), true);
      EXPECT_TRUE(0 <= tl && tl < side) << "local hyperplane coordinate " << tl;
      t.push_back(side * linear(h2[k], joined(block, block_n), false) + tl);
    }
    Values64 z_counters, z;
    for (const std::vector<int>& row : h2_inverse) z_counters.push_back(linear(row, joined(t, n), true));
    for (size_t i = 0; i < m; i++) z.push_back(z_counters[sigma[i]]);
    return z;
  };
}

void check_parallelepipedic(const ParallelepipedicCase& c) {
  std::vector<std::string> x = numbered("x", c.n), p = numbered("N", c.p), z = numbered("z", c.h2.size());
  ZILWrapper::tiling_t input = tiling_of(x, p), output = tiling_of(z, {});
  IndexFunction* index = function(c.f, x, p);
  IndexFunction* h1 = function(c.h1, x, p);
  IndexFunction* h2 = new IndexFunction(c.h2, counter_ranks(z), parameter_ranks(p));
  Rows h1_inverse = h1->invert(counter_ranks(x), parameter_ranks(p));
  Rows h2_inverse = h2->invert(counter_ranks(z), parameter_ranks(p));
  std::vector<int> rank;
  for (int k : c.sigma) rank.push_back(get_counter_rank(z[k]));
  Tiled f = ZILWrapper::get_parallelepipedic_tiled_function(index, h1, c.in, input, h2, c.out, output, rank);
  check_map_back(f, index, x, p, parallelepipedic_split(x, p, c.h1, h1_inverse, c.in),
                 parallelepipedic_join(p, c.h2, h2_inverse, c.out, c.sigma));
  release(f);
  for (IndexFunction* g : {index, h1, h2}) delete g;
}

TEST_F(ZILFunctionsTest, ParallelepipedicTilingMapsBackToTheFunction) {
  std::mt19937 g(1144);
  std::uniform_int_distribution<int> coefficient(-2, 2), constant(-3, 3), ratio(1, 2);
  std::vector<ParallelepipedicCase> cases;
  // Three outputs in a cycle under the hyperplanes (p + q, q + r, r), which
  // mix them: the rows must follow the output counters, and come back in
  // the function's order.
  cases.push_back({{{1, 0, 1}, {0, 1, 0}, {1, -1, 0}}, 2, 0, {{1, 0, 0}, {1, 1, 0}},
                   {{1, 1, 0, 0}, {0, 1, 1, 0}, {0, 0, 1, 0}}, {1, 1}, {1, 1, 1}, {1, 2, 0}});
  // Output ratios (2, 1) under (z0 + z1, z1), input ratios (2, 2).
  cases.push_back({{{1, 2, 0}, {0, 1, 1}}, 2, 0, {{1, 0, 0}, {0, 1, 0}}, {{1, 1, 0}, {0, 1, 0}}, {2, 2}, {2, 1},
                   {0, 1}});
  for (int trial = 0; trial < 8; trial++) {
    ParallelepipedicCase c;
    c.n = 1 + trial % 2;
    c.p = trial / 2 % 2;
    int m = 1 + trial / 4;
    for (int i = 0; i < m; i++) {
      std::vector<int> row;
      for (int k = 0; k < c.n + c.p; k++) row.push_back(coefficient(g));
      row.push_back(constant(g));
      c.f.push_back(row);
      c.out.push_back(1);
      c.sigma.push_back(m - 1 - i);
    }
    c.h1 = random_unimodular(g, c.n, c.p);
    c.h2 = random_unimodular(g, m, c.p);
    for (int k = 0; k < c.n; k++) c.in.push_back(ratio(g));
    cases.push_back(c);
  }
  for (const ParallelepipedicCase& c : cases) {
    clear_registries();
    SCOPED_TRACE("case " + std::to_string(&c - &cases[0]));
    check_parallelepipedic(c);
  }
}

TEST_F(ZILFunctionsTest, ParallelepipedicStops) {
  const std::string who = "ZILWrapper::get_parallelepipedic_tiled_function: ";
  ZILWrapper::tiling_t input = tiling_of({"i"}, {"N"}), output = tiling_of({"z"}, {});
  ZILWrapper::tiling_t two = tiling_of({"u", "v"}, {});
  declare_parameter("M");
  int z = get_counter_rank("z");
  IndexFunction* index = function({{1, 0, 0}}, {"i"}, {"N"});
  IndexFunction* identity = function({{1, 0, 0}}, {"i"}, {"N"});
  IndexFunction* doubled = function({{2, 0, 0}}, {"i"}, {"N"});
  IndexFunction* plain = new IndexFunction({{1, 0}}, std::vector<int>{z}, {});
  IndexFunction* shifted = new IndexFunction({{1, 1, 0}}, std::vector<int>{z}, {get_parameter_rank("M")});
  auto tile = [&](IndexFunction* h1, IndexFunction* h2, std::vector<int> out, ZILWrapper::tiling_t o,
                  std::vector<int> rank) {
    Tiled f = ZILWrapper::get_parallelepipedic_tiled_function(index, h1, {1}, input, h2, out, o, rank);
    release(f);
  };
  // The output hyperplanes are read over the input's parameters.
  expect_silent_stop([&] { tile(identity, shifted, {1}, output, {z}); },
                     who + "an output hyperplane uses M, which is not among the tiled variables");
  tile(identity, plain, {1}, output, {z});
  expect_silent_stop([&] { tile(doubled, plain, {1}, output, {z}); },
                     who + "the hyperplanes must form a unimodular change of basis");
  expect_silent_stop([&] { tile(identity, plain, {1, 1}, output, {z}); }, who + "2 tile ratios for 1 output hyperplanes");
  expect_silent_stop([&] { tile(identity, plain, {2}, output, {z}); },
                     who + "output ratio 2 does not divide the block coefficients of output #0");
  expect_silent_stop([&] { tile(identity, plain, {1}, two, {z}); },
                     who + "the output tiling must have one counter per output");
  expect_silent_stop([&] { tile(identity, plain, {1}, output, {z, z}); },
                     who + "output_counter_rank must name every output counter once");
  expect_silent_stop([&] { tile(identity, plain, {1}, output, {get_counter_rank("i")}); },
                     "ZILWrapper::set_line_permutation: incorrect output_counter_rank");
  for (IndexFunction* f : {index, identity, doubled, plain, shifted}) delete f;
}

// ---- general ----

struct GeneralCase {
  Rows f;  // [x | N | constant]
  int n, p;
  Rows input_shape, output_shape;  // over (x, block_size), (z, block_size)
  Rows input_lattice, output_lattice;
};

Split general_split(const std::vector<std::string>& counters, Polyhedron* shape, const Rows& lattice) {
  return [=](const Point& x, const Values& values, int b) {
    std::vector<Values64> found;
    Values64 local(x.size());
    for (const Point& z : box(x.size())) {
      Values il;
      for (size_t i = 0; i < x.size(); i++) {
        Values64 block(z.begin(), z.end());
        local[i] = x[i] - b * linear(lattice[i], block, false);
        il[get_counter_rank(counters[i])] = static_cast<int>(local[i]);
      }
      if (holds_at(shape, il, values)) found.push_back(joined(Values64(z.begin(), z.end()), local));
    }
    EXPECT_EQ(found.size(), 1u) << "the shape tiles the space";
    if (found.size() != 1) return Values();
    Values64 outer(found[0].begin(), found[0].begin() + x.size()), inner(found[0].begin() + x.size(), found[0].end());
    return tiled_point(counters, outer, inner);
  };
}

// z = b·LIm·block + local, with local in the output shape.
Join general_join(const std::vector<std::string>& z, Polyhedron* shape, const Rows& lattice) {
  return [=](const Values64& outputs, const Values& values, int b) {
    size_t m = z.size();
    Values64 block(outputs.begin(), outputs.begin() + m), result;
    Values local;
    for (size_t i = 0; i < m; i++) {
      local[get_counter_rank(z[i])] = static_cast<int>(outputs[m + i]);
      result.push_back(b * linear(lattice[i], block, false) + outputs[m + i]);
    }
    EXPECT_TRUE(holds_at(shape, local, values)) << "local part outside the output shape";
    return result;
  };
}

const Rows square = {{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, 0, 1, 0, 0}, {1, 0, -1, 1, -1}};
const Rows parallelogram = {{1, 1, 0, 0, 0}, {1, -1, 0, 1, -1}, {1, -1, 1, 0, 0}, {1, 1, -1, 1, -1}};
const Rows segment = {{1, 1, 0, 0}, {1, -1, 1, -1}};

TEST_F(ZILFunctionsTest, GeneralTilingMapsBackToTheFunction) {
  std::vector<GeneralCase> cases = {
      {{{1, 0}}, 1, 0, segment, segment, {{1}}, {{1}}},
      {{{1, 1, -2}, {-1, 0, 3}}, 1, 1, segment, square, {{1}}, {{1, 0}, {0, 1}}},
      {{{1, 2, 0, 1}}, 2, 1, square, segment, {{1, 0}, {0, 1}}, {{1}}},
      {{{1, 0, 1}, {1, 1, -1}}, 2, 0, square, square, {{1, 1}, {0, 1}}, {{1, 0}, {0, 1}}},
      {{{0, 1, 1, 0}, {2, -1, 0, 2}}, 2, 1, parallelogram, square, {{1, 0}, {1, 1}}, {{1, 1}, {0, 1}}},
      {{{1, -1, 0}, {1, 1, 0}}, 2, 0, square, parallelogram, {{1, 0}, {0, 1}}, {{1, 0}, {1, 1}}},
      // Two input parameters.
      {{{1, 1, -1, 0}}, 1, 2, segment, segment, {{1}}, {{1}}},
  };
  for (const GeneralCase& c : cases) {
    clear_registries();
    SCOPED_TRACE("case " + std::to_string(&c - &cases[0]));
    std::vector<std::string> x = numbered("x", c.n), p = numbered("N", c.p), z = numbered("z", c.f.size());
    ZILWrapper::tiling_t input = tiling_of(x, p), output = tiling_of(z, {});
    IndexFunction* index = function(c.f, x, p);
    Polyhedron* input_shape = rows_over(c.input_shape, x, {"block_size"});
    Polyhedron* output_shape = rows_over(c.output_shape, z, {"block_size"});
    Tiled f = ZILWrapper::get_general_tiled_function(index, input_shape, c.input_lattice, output_shape,
                                                     c.output_lattice, input, output);
    check_map_back(f, index, x, p, general_split(x, input_shape, c.input_lattice),
                   general_join(z, output_shape, c.output_lattice));
    release(f);
    delete index;
    delete input_shape;
    delete output_shape;
  }
}

TEST_F(ZILFunctionsTest, GeneralStops) {
  const std::string who = "ZILWrapper::get_general_tiled_function: ";
  ZILWrapper::tiling_t input = tiling_of({"i"}, {"N"}), output = tiling_of({"z"}, {}), none = tiling_of({}, {"N"});
  ZILWrapper::tiling_t two = tiling_of({"u", "v"}, {});
  IndexFunction* index = function({{1, 0, 0}}, {"i"}, {"N"});
  Polyhedron* shape = rows_over(segment, {"i"}, {"block_size"});
  Polyhedron* output_shape = rows_over(segment, {"z"}, {"block_size"});
  Polyhedron* unbounded = rows_over({{1, 1, 1, 0}}, {"z"}, {"block_size"});
  Polyhedron* wide = rows_over({{1, 1, 0, 0}, {1, -1, 2, -1}}, {"i"}, {"block_size"});
  Polyhedron* sized = rows_over({{1, 1, 0, 0, 0}, {1, -1, 1, 1, -1}}, {"i"}, {"block_size", "N"});
  auto tile = [&](Polyhedron* in_shape, Rows in_lattice, Polyhedron* out_shape, Rows out_lattice,
                  ZILWrapper::tiling_t in, ZILWrapper::tiling_t out) {
    Tiled f = ZILWrapper::get_general_tiled_function(index, in_shape, in_lattice, out_shape, out_lattice, in, out);
    release(f);
  };
  const std::string null = "ZILWrapper::get_general_tiled_domain: null lattice";
  expect_silent_stop([&] { tile(shape, {}, output_shape, {{1}}, input, output); }, null);
  expect_silent_stop([&] { tile(shape, {{1}}, output_shape, {{}}, input, output); }, null);
  expect_silent_stop([&] { tile(shape, {{1}}, output_shape, {{1}}, none, output); }, who + "the input tiling has no counter");
  expect_silent_stop([&] { tile(shape, {{1}}, output_shape, {{1}}, input, two); },
                     who + "the output tiling must have one counter per output");
  expect_silent_stop([&] { tile(shape, {{1}, {1}}, output_shape, {{1}}, input, output); },
                     who + "the input lattice must have 1 rows of 1 values");
  expect_silent_stop([&] { tile(shape, {{1}}, output_shape, {{1, 0}}, input, output); },
                     who + "the output lattice must have 1 rows of 1 values");
  expect_silent_stop([&] { tile(sized, {{1}}, output_shape, {{1}}, input, output); },
                     who + "shape must uses block_size parameter. Any other parameter is forbidden.");
  expect_silent_stop([&] { tile(shape, {{0}}, output_shape, {{1}}, input, output); },
                     who + "the lattice must be invertible");
  expect_silent_stop([&] { tile(shape, {{1}}, shape, {{1}}, input, output); },
                     who + "the tile shape uses a counter outside the statement's loops");
  expect_silent_stop([&] { tile(shape, {{1}}, unbounded, {{1}}, input, output); },
                     who + "the tile shape must bound every counter");
  expect_silent_stop([&] { tile(wide, {{1}}, output_shape, {{1}}, input, output); },
                     who + "the tile shape does not tile the space with the lattice (block size 1)");
  for (Polyhedron* q : {shape, output_shape, unbounded, wide, sized}) delete q;
  delete index;
}

}  // namespace
