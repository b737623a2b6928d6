// Extraction of the basic tiling directives into the front end's
// process-wide tables, and their printing.

#include <algorithm>
#include <iostream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Array.h"
#include "Expression.h"
#include "IndexFunction.h"
#include "Inequation.h"
#include "Polyhedron.h"
#include "Preprocessor.h"
#include "PreprocessorInternal.h"
#include "Program.h"
#include "Rank.h"
#include "Statement.h"
#include "Stop.h"

namespace Preprocessor {

std::vector<int> tile_group;
std::vector<std::vector<int>> tile_size;
std::vector<IndexFunction*> tile_hyperplans;
std::vector<IndexFunction*> schedule;
std::vector<std::vector<int>> tile_dimensions;
std::vector<std::vector<int>> group;
std::map<int, std::vector<int>> parallel_instances;
std::map<std::string, std::pair<Expression*, Expression*>> bound;
Polyhedron* context = nullptr;
std::vector<std::string> output_array;
int vector_size = 0;
std::map<int, std::vector<int>> vectorize_stmt;

}  // namespace Preprocessor

namespace {

namespace P = Preprocessor;

// Group numbers index `group`: a larger one would ask for an absurd table.
const int largest_group = 65535;

// One walk over the statements of a program. The statement number n counts
// the assignments described so far, from 0; it numbers the messages.
class BasicExtraction {
public:
  explicit BasicExtraction(const std::vector<Statement*>& statements) : statements(statements) {}

  // Fills the tables; returns the number of assignments the directives
  // describe.
  int read_all() {
    declare_parameter("__T");
    marker = get_parameter_rank("__T");
    size_t i = 0;
    while (i < statements.size()) {
      const std::string& id = statements[i]->lhs_id;
      if (id == "output__") {
        read_output(i);
        i += 2;
      } else if (id == "tile_group") {
        read_block(i);
        n++;
        i += 5;
      } else if (id == "bound" || id == "parallelize" || id == "vector_size" || id == "vectorize") {
        read_directive(statements[i]);
        i++;
      } else {
        read_untiled(statements[i]);
        n++;
        i += 2;
      }
    }
    return n;
  }

private:
  const std::vector<Statement*>& statements;
  int marker = 0;  // parameter rank of __T
  int n = 0;

  [[noreturn]] void statement_stop(const std::string& suffix) const {
    stop(std::cerr, "Preprocessor::extract_tiling: statement #" + std::to_string(n) + suffix);
  }

  // The statement at position i of a block, which must write `name`: a
  // block cut short stops as if that position wrote another name.
  const Statement* expect(size_t i, const std::string& name, const std::string& suffix) const {
    if (i >= statements.size() || statements[i]->lhs_id != name) statement_stop(suffix);
    return statements[i];
  }

  static const std::vector<Expression*>& arguments(const Statement* s) { return s->lhs_index->index_mapping; }

  int integer(const Expression* e, const std::string& suffix) const {
    int value;
    if (!P::integer_value(e, value)) statement_stop(suffix);
    return value;
  }

  std::vector<int> integers(const Statement* s, const std::string& suffix) const {
    std::vector<int> values;
    for (const Expression* e : arguments(s)) values.push_back(integer(e, suffix));
    return values;
  }

  std::vector<int> tiled_dimensions(const IndexFunction* f) const {
    std::vector<int> dims;
    for (size_t j = 0; j < f->index_mapping.size(); j++)
      if (f->index_mapping[j]->get_parameters().count(marker)) dims.push_back(static_cast<int>(j));
    return dims;
  }

  // The carrier of an output directive stands ahead of the assignment of
  // the element it names.
  void read_output(size_t i) const {
    if (i + 1 >= statements.size()) statement_stop(": pragma output: array element expected");
    P::output_array.push_back(statements[i + 1]->lhs_id);
  }

  void read_block(size_t i) const {
    const Statement* s = statements[i];
    if (arguments(s).size() != 1) statement_stop(": tile group must 1-dimensional");
    int g = integer(arguments(s)[0], ": tile group must be an integer value");
    if (g < 0 || g > largest_group)
      statement_stop(": tile group must be between 0 and " + std::to_string(largest_group));
    P::tile_group.push_back(g);
    const Statement* sizes = expect(i + 1, "tile_size", ": pragma tile_size expected in 2nd position");
    P::tile_size.push_back(integers(sizes, ": tile size must be an integer value"));
    const Statement* hyperplanes =
        expect(i + 2, "tile_hyperplans", ": pragma tile_hyperplans expected in 3rd position");
    P::tile_hyperplans.push_back(hyperplanes->lhs_index->clone());
    IndexFunction* f =
        expect(i + 3, "schedule", ": pragma schedule expected in 4th position")->lhs_index->clone();
    P::schedule.push_back(f);
    P::tile_dimensions.push_back(tiled_dimensions(f));
  }

  void read_untiled(const Statement* s) const {
    if (s->lhs_id != "schedule")
      stop(std::cout,
           "Preprocessor::extract_schedules: missing schedule for assignment #" + std::to_string(n));
    P::tile_group.push_back(-1);
    P::tile_size.push_back({});
    P::tile_dimensions.push_back({});
    P::tile_hyperplans.push_back(new IndexFunction());
    P::schedule.push_back(s->lhs_index->clone());
  }

  void read_directive(const Statement* s) const {
    if (s->lhs_id == "bound") read_bound(s);
    if (s->lhs_id == "parallelize") read_parallelize(s);
    if (s->lhs_id == "vector_size") read_vector_size(s);
    if (s->lhs_id == "vectorize") read_vectorize(s);
  }

  // p >= lower and p <= upper, in that order, for the parameter p.
  static void read_bound(const Statement* s) {
    const std::vector<Expression*>& e = arguments(s);
    if (e.size() != 3)
      stop(
          std::cerr,
          "Preprocessor::extract_tiling: bound: expect 3 arguments (parameter id, lower bound, upper bound)");
    if (!e[0]->is_a_parameter())
      stop(std::cerr, "Preprocessor::extract_tiling: bound: argument 1: parameter id expected.");
    auto& entry = P::bound[get_parameter_string(e[0]->parameter_rank)];
    delete entry.first;
    delete entry.second;
    entry = {e[1]->clone(), e[2]->clone()};
    Inequation lower(GREATER_EQ, e[0], e[1]);
    Inequation upper(LESS_EQ, e[0], e[2]);
    P::context->add_constraint(&lower);
    P::context->add_constraint(&upper);
  }

  // A parallel group, then its numbers of instances.
  void read_parallelize(const Statement* s) const {
    std::vector<int> values = integers(s, ": parallel group and #instances must be integer values");
    if (values.empty()) statement_stop(": parallel group and #instances must be integer values");
    std::vector<int>& instances = P::parallel_instances[values[0]];
    instances.insert(instances.end(), values.begin() + 1, values.end());
  }

  void read_vector_size(const Statement* s) const {
    if (arguments(s).size() != 1) statement_stop(": pragma vector_size: 1 dimension expected");
    P::vector_size = integer(arguments(s)[0], ": pragma vector_size: expect integer value");
  }

  // Statement, tile dimension, number of operations, pipeline depth.
  void read_vectorize(const Statement* s) const {
    const std::vector<Expression*>& e = arguments(s);
    if (e.size() != 4)
      statement_stop(": pragma pipeline: 4 dimensions expected (#stmt,tile_dim,#op,pipeline_depth)");
    std::vector<int> values;
    for (size_t k = 0; k < e.size(); k++)
      values.push_back(
          integer(e[k], ": pragma pipeline: argument " + std::to_string(k + 1) + ": expect integer value"));
    P::vectorize_stmt[values[0]] = {values[1], values[2], values[3]};
  }
};

// Every statement of the tables filed under its group, in order. Rebuilt
// from the whole table, so that a second extraction files each statement
// once.
void file_groups() {
  int highest = -1;
  for (int g : P::tile_group) highest = std::max(highest, g);
  P::group.assign(highest + 1, {});
  for (size_t j = 0; j < P::tile_group.size(); j++)
    if (P::tile_group[j] != -1) P::group[P::tile_group[j]].push_back(static_cast<int>(j));
}

bool is_basic_carrier(const std::string& id) {
  for (const char* carrier : {"tile_group", "tile_size", "tile_hyperplans", "schedule", "bound",
                              "vector_size", "vectorize", "parallelize"})
    if (id == carrier) return true;
  return false;
}

// The statements that are no carriers; an output carrier takes the
// assignment after it along.
void drop_carriers(Program* program) {
  const std::vector<Statement*>& all = program->statement;
  std::vector<bool> kept(all.size(), false);
  for (size_t i = 0; i < all.size(); i++) {
    if (all[i]->lhs_id == "output__") {
      i++;
      continue;
    }
    kept[i] = !is_basic_carrier(all[i]->lhs_id);
  }
  P::keep_statements(program, kept);
}

void print_values(const std::vector<int>& values) {
  for (int v : values) std::cout << v << " ";
  std::cout << std::endl;
}

}  // namespace

void Preprocessor::reset_context() {
  delete context;
  context = new Polyhedron();
}

void Preprocessor::extract_tiling(Program* program) {
  reset_context();
  int described = BasicExtraction(program->statement).read_all();
  file_groups();
  drop_carriers(program);
  remove_reserved_arrays();
  // A block or schedule with no assignment after it, or whose assignment is
  // itself a carrier, would describe a statement that does not exist.
  if (static_cast<size_t>(described) != program->statement.size())
    stop(std::cerr, "Preprocessor::extract_tiling: the directives describe " + std::to_string(described) +
                        " assignments but the program has " + std::to_string(program->statement.size()));
  if (output_array.empty()) {
    std::cerr << "Preprocessor::extract_tiling: warning: no output arrays specified, all the variables will "
                 "be stored"
              << std::endl;
    output_array = get_arrays();
  }
}

void Preprocessor::print_tiling() {
  for (size_t i = 0; i < tile_group.size(); i++) {
    std::cout << "Statement #" << i << std::endl;
    if (tile_group[i] == -1) {
      std::cout << "  Not tiled." << std::endl;
    } else {
      std::cout << "  Tile group #" << tile_group[i] << std::endl << "  Tile size(s): ";
      print_values(tile_size[i]);
      std::cout << "  Tile hyperplans: " << *tile_hyperplans[i] << std::endl << "  Rank of tile dimensions: ";
      print_values(tile_dimensions[i]);
    }
    std::cout << "  Schedule: " << *schedule[i] << std::endl;
  }
  for (size_t g = 0; g < group.size(); g++) {
    std::cout << "Tile group #" << g << ": ";
    print_values(group[g]);
  }
}
