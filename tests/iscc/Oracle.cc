#include "Oracle.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace oracle {
namespace {

Ex node(Node::Kind kind, long value, const std::string& name, Ex l, Ex r) {
  return std::make_shared<const Node>(Node{kind, value, name, std::move(l), std::move(r)});
}

// ------------------------------------------------------------ text forms

std::string text(const Ex& e, bool paren_counters);

// Operator operands are parenthesised, leaves never.
std::string operand(const Ex& e, bool paren_counters) {
  bool leaf = e->kind == Node::Num || e->kind == Node::Counter || e->kind == Node::Param;
  return leaf ? text(e, paren_counters) : "(" + text(e, paren_counters) + ")";
}

std::string text(const Ex& e, bool paren_counters) {
  switch (e->kind) {
    case Node::Num: return std::to_string(e->value);
    case Node::Counter: return paren_counters ? "(" + e->name + ")" : e->name;
    case Node::Param: return e->name;
    case Node::Floor: case Node::Ceil: case Node::Max:
      return e->name + "(" + text(e->left, paren_counters) + "," +
             text(e->right, paren_counters) + ")";
    default:
      return operand(e->left, paren_counters) + e->name + operand(e->right, paren_counters);
  }
}

void collect_params(const Ex& e, std::set<std::string>& out) {
  if (e->kind == Node::Param) out.insert(e->name);
  if (e->left) collect_params(e->left, out);
  if (e->right) collect_params(e->right, out);
}

std::string join(const std::vector<std::string>& v, const std::string& sep) {
  std::string s;
  for (size_t i = 0; i < v.size(); ++i) s += (i ? sep : "") + v[i];
  return s;
}

// The names of `order` that `used` holds, in the order of `order`.
std::string param_list(const std::vector<std::string>& order, const std::set<std::string>& used) {
  std::vector<std::string> names;
  for (const std::string& p : order)
    if (used.count(p)) names.push_back(p);
  return join(names, ",");
}

using Pieces = std::vector<std::vector<Constraint>>;

std::set<std::string> params_of(const Pieces& pieces) {
  std::set<std::string> used;
  for (const auto& piece : pieces)
    for (const Constraint& c : piece) {
      collect_params(c.lhs, used);
      collect_params(c.rhs, used);
    }
  return used;
}

std::set<std::string> domain_params(const Statement& st) { return params_of(st.pieces); }

// "<kind><r> := " and the pieces `of` statement r as a set.
std::string set_line(const Script& s, const std::string& kind, size_t r, const Pieces& of) {
  const Statement& st = s.statements[r];
  std::string name = "S" + std::to_string(r);
  std::string line = kind + std::to_string(r) + " := [" + param_list(s.params, params_of(of)) + "] -> { ";
  std::vector<std::string> pieces;
  for (const auto& piece : of) {
    std::vector<std::string> cs;
    for (const Constraint& c : piece)
      cs.push_back(text(c.lhs, s.parenthesised_counters) + " " + c.op + " " +
                   text(c.rhs, s.parenthesised_counters));
    pieces.push_back(name + "[" + join(st.counters, ",") + "] : " + join(cs, " and "));
  }
  return line + join(pieces, "; ") + "};\n";
}

// The lines that define the set `kind` as the union of the sets of the
// pieces `of` each statement that has some; "" when none has any.
std::string union_lines(const Script& s, const std::string& kind, Pieces Statement::*of) {
  std::string out;
  std::vector<std::string> names;
  for (size_t r = 0; r < s.statements.size(); ++r) {
    if ((s.statements[r].*of).empty()) continue;
    out += set_line(s, kind, r, s.statements[r].*of);
    names.push_back(kind + std::to_string(r));
  }
  return names.empty() ? "" : out + kind + " := " + join(names, "+") + ";\n";
}

std::string theta_line(const Script& s) {
  std::set<std::string> used;
  size_t width = 0;
  for (const Statement& st : s.statements) {
    std::set<std::string> p = domain_params(st);
    used.insert(p.begin(), p.end());
    width = std::max(width, st.date.size());
  }
  std::vector<std::string> entries;
  for (size_t r = 0; r < s.statements.size(); ++r) {
    const Statement& st = s.statements[r];
    std::vector<std::string> date;
    for (const Ex& e : st.date) date.push_back(text(e, s.parenthesised_counters));
    date.resize(width, "0");
    entries.push_back("S" + std::to_string(r) + "[" + join(st.counters, ",") + "] -> [" +
                      join(date, ",") + "]");
  }
  return "theta := [" + param_list(s.params, used) + "] -> { " + join(entries, "; ") + " };\n";
}

// The "bounds" lines of every statement's bounds.
std::string bounds_lines(const Script& s) {
  std::string out;
  for (size_t r = 0; r < s.statements.size(); ++r)
    for (const Bound& b : s.statements[r].bounds)
      out += std::string("bounds ") + (b.in_else ? "else " : "") + "S" + std::to_string(r) + "(" +
             join(s.statements[r].counters, ",") + ") \"" + text(b.lower, false) + "\" <= \"" +
             text(b.value, false) + "\" <= \"" + text(b.upper, false) + "\";\n";
  return out;
}

// ------------------------------------------------------------ evaluation

long floor_div(long a, long k) { return a >= 0 ? a / k : -((-a + k - 1) / k); }

struct Env {
  const Valuation& params;
  const std::vector<std::string>& counters;
  const Point& point;
};

long eval(const Ex& e, const Env& env) {
  switch (e->kind) {
    case Node::Num: return e->value;
    case Node::Param: return env.params.at(e->name);
    case Node::Counter:
      for (size_t i = 0; i < env.counters.size(); ++i)
        if (env.counters[i] == e->name) return env.point[i];
      throw std::runtime_error("counter not in tuple: " + e->name);
    default: break;
  }
  long a = eval(e->left, env), b = eval(e->right, env);
  switch (e->kind) {
    case Node::Plus: return a + b;
    case Node::Minus: return a - b;
    case Node::Times: return a * b;
    case Node::Mod: return a - b * floor_div(a, b);
    case Node::Floor: return floor_div(a, b);
    case Node::Ceil: return -floor_div(-a, b);
    default: return std::max(a, b);
  }
}

bool holds(const Constraint& c, const Env& env) {
  long l = eval(c.lhs, env), r = eval(c.rhs, env);
  if (c.op == "<") return l < r;
  if (c.op == "<=") return l <= r;
  if (c.op == ">") return l > r;
  if (c.op == ">=") return l >= r;
  return l == r;
}

bool in_domain(const Statement& st, const Env& env) {
  for (const auto& piece : st.pieces) {
    bool all = true;
    for (const Constraint& c : piece) all = all && holds(c, env);
    if (all) return true;
  }
  return false;
}

using Instance = std::pair<size_t, Point>;

// Every point of the statements' boxes that lies in their domains.
std::set<Instance> enumerate(const Script& s, const Valuation& v) {
  std::set<Instance> out;
  for (size_t r = 0; r < s.statements.size(); ++r) {
    const Statement& st = s.statements[r];
    Point p;
    for (const auto& range : st.box) p.push_back(range.first);
    while (true) {
      if (in_domain(st, Env{v, st.counters, p})) out.insert({r, p});
      size_t d = 0;
      while (d < p.size() && p[d] == st.box[d].second) p[d] = st.box[d].first, ++d;
      if (d == p.size()) break;
      ++p[d];
    }
  }
  return out;
}

// The date of an instance, padded with zeros to `width`.
std::vector<long> date_of(const Script& s, const Instance& in, const Valuation& v, size_t width) {
  const Statement& st = s.statements[in.first];
  std::vector<long> date;
  for (const Ex& e : st.date) date.push_back(eval(e, Env{v, st.counters, in.second}));
  date.resize(width, 0);
  return date;
}

// ------------------------------------------------------------ the program

std::string program(const Script& s, const std::string& nest, const std::vector<Valuation>& grid) {
  std::ostringstream p;
  p << "#include <math.h>\n#include <iostream>\n#include <stdio.h>\nusing namespace std;\n\n"
       "#define min(x,y)  ((x)<(y)?(x):(y))\n#define max(x,y)  ((x)<(y)?(y):(x))\n"
       "#define ceild(n,d)  (((n) / (d)) + (((n) % (d)) > 0))\n"
       "#define floord(n,d) (((n) / (d)) - (((n) % (d)) < 0))\n\n"
       "template <class... T> static void rec(int s, T... v) {\n"
       "  printf(\"%d\", s);\n  ((void)printf(\" %ld\", (long)v), ...);\n  printf(\"\\n\");\n}\n";
  for (size_t r = 0; r < s.statements.size(); ++r) {
    std::vector<std::string> args;
    for (size_t i = 0; i < s.statements[r].counters.size(); ++i) args.push_back("x" + std::to_string(i));
    std::string list = join(args, ",");
    p << "#define S" << r << "(" << list << ") { rec(" << r << (args.empty() ? "" : ", ") << list
      << "); }\n";
  }
  for (const std::string& name : s.params) p << "int " << name << ";\n";
  p << "static void kernel() {\n" << nest << "}\n";
  size_t k = std::max<size_t>(1, s.params.size());
  p << "static const long grid[][" << k << "] = {\n";
  for (const Valuation& v : grid) {
    p << "  {";
    for (const std::string& name : s.params) p << v.at(name) << ",";
    p << (s.params.empty() ? "0" : "") << "},\n";
  }
  p << "};\nint main() {\n  for (unsigned v = 0; v < sizeof grid / sizeof grid[0]; ++v) {\n";
  for (size_t i = 0; i < s.params.size(); ++i) p << "    " << s.params[i] << " = grid[v][" << i << "];\n";
  p << "    printf(\"#\\n\");\n    kernel();\n  }\n}\n";
  return p.str();
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Compiles and runs the program; stores its output or the compiler's
// messages in `out`. Returns true when both steps succeeded.
bool compile_and_run(const std::string& source, const std::string& cxx, std::string& out) {
  char pattern[] = "/tmp/iscc_oracle_XXXXXX";
  if (!mkdtemp(pattern)) {
    out = "cannot make a temporary folder";
    return false;
  }
  std::filesystem::path dir(pattern);
  std::ofstream(dir / "prog.cc") << source;
  std::string d = dir.string();
  bool ok = std::system(("'" + cxx + "' -std=c++17 -O0 -o '" + d + "/prog' '" + d + "/prog.cc' > '" +
                         d + "/log' 2>&1").c_str()) == 0;
  ok = ok && std::system(("'" + d + "/prog' > '" + d + "/log' 2>&1").c_str()) == 0;
  out = read_file(dir / "log");
  std::filesystem::remove_all(dir);
  return ok;
}

std::string describe(const Valuation& v, const Instance& in) {
  std::string s;
  for (const auto& [name, value] : v) s += name + "=" + std::to_string(value) + " ";
  s += "S" + std::to_string(in.first) + "(";
  for (size_t i = 0; i < in.second.size(); ++i) s += (i ? "," : "") + std::to_string(in.second[i]);
  return s + ")";
}

bool in_box(const Statement& st, const Point& p) {
  for (size_t d = 0; d < p.size(); ++d)
    if (p[d] < st.box[d].first || p[d] > st.box[d].second) return false;
  return true;
}

// Compares the instances one valuation's run recorded, in order, with the
// brute-force enumeration.
std::string compare(const Script& s, const Valuation& v, const std::vector<Instance>& run) {
  size_t width = 0;
  for (const Statement& st : s.statements) width = std::max(width, st.date.size());
  std::set<Instance> seen;
  std::vector<long> last;
  for (const Instance& in : run) {
    if (in.first >= s.statements.size() || in.second.size() != s.statements[in.first].counters.size())
      return "malformed call " + describe(v, in);
    if (!in_box(s.statements[in.first], in.second)) return "outside the box: " + describe(v, in);
    if (!seen.insert(in).second) return "executed twice: " + describe(v, in);
    std::vector<long> date = date_of(s, in, v, width);
    if (date < last) return "out of schedule order: " + describe(v, in);
    last = date;
  }
  std::set<Instance> expected = enumerate(s, v);
  for (const Instance& in : expected)
    if (!seen.count(in)) return "never executed: " + describe(v, in);
  for (const Instance& in : seen)
    if (!expected.count(in)) return "not in the domain: " + describe(v, in);
  return "";
}

}  // namespace

Ex num(long v) { return node(Node::Num, v, "", nullptr, nullptr); }
Ex ctr(const std::string& name) { return node(Node::Counter, 0, name, nullptr, nullptr); }
Ex par(const std::string& name) { return node(Node::Param, 0, name, nullptr, nullptr); }
Ex operator+(Ex a, Ex b) { return node(Node::Plus, 0, "+", a, b); }
Ex operator-(Ex a, Ex b) { return node(Node::Minus, 0, "-", a, b); }
Ex operator*(Ex a, Ex b) { return node(Node::Times, 0, "*", a, b); }
Ex operator%(Ex a, Ex b) { return node(Node::Mod, 0, "%", a, b); }
Ex floor_of(Ex a, long k) { return node(Node::Floor, 0, "floor", a, num(k)); }
Ex ceil_of(Ex a, long k) { return node(Node::Ceil, 0, "ceil", a, num(k)); }
Ex max_of(Ex a, Ex b) { return node(Node::Max, 0, "max", a, b); }

std::string print_script(const Script& s) {
  std::string out;
  std::vector<std::string> names;
  for (size_t r = 0; r < s.statements.size(); ++r) {
    out += set_line(s, "D", r, s.statements[r].pieces);
    names.push_back("D" + std::to_string(r));
  }
  out += "D := " + join(names, "+") + ";\n";
  std::string full = union_lines(s, "F", &Statement::full);
  std::string superset = union_lines(s, "E", &Statement::superset);
  std::string box = union_lines(s, "B", &Statement::box_form);
  return out + full + superset + box + theta_line(s) + bounds_lines(s) + "tiled_program := theta*D;\ncodegen tiled_program" +
         (full.empty() ? "" : " isolating theta*F") + (superset.empty() ? "" : " else theta*E") +
         (box.empty() ? "" : " else theta*B") + ";\n";
}

std::string check_nest(const Script& s, const std::string& nest, const std::vector<Valuation>& grid,
                       const std::string& cxx) {
  std::string output;
  if (!compile_and_run(program(s, nest, grid), cxx, output))
    return "the nest does not compile or run:\n" + output + "\n" + nest;
  std::istringstream lines(output);
  std::string line;
  int v = -1;
  std::vector<std::vector<Instance>> runs(grid.size());
  while (std::getline(lines, line)) {
    if (line == "#") {
      ++v;
      continue;
    }
    std::istringstream fields(line);
    Instance in;
    fields >> in.first;
    for (long x; fields >> x;) in.second.push_back(x);
    if (v < 0 || v >= static_cast<int>(grid.size())) return "unexpected output: " + line;
    runs[v].push_back(in);
  }
  if (v + 1 != static_cast<int>(grid.size())) return "the program stopped early";
  for (size_t i = 0; i < grid.size(); ++i) {
    std::string diff = compare(s, grid[i], runs[i]);
    if (!diff.empty()) return diff + "\n" + nest;
  }
  return "";
}

std::vector<Valuation> product_grid(const std::vector<std::string>& params, const std::vector<long>& values) {
  std::vector<Valuation> grid(1);
  for (const std::string& p : params) {
    std::vector<Valuation> next;
    for (const Valuation& v : grid)
      for (long x : values) {
        Valuation w = v;
        w[p] = x;
        next.push_back(w);
      }
    grid = next;
  }
  return grid;
}

}  // namespace oracle
