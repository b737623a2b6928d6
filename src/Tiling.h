#ifndef TARVEX_TILING_H
#define TARVEX_TILING_H

// The tiling of a program as its directives describe it, one entry per
// statement in every per-statement vector, and the tiling pass that turns a
// program into its tiled copy with one schedule per statement.
//
// Ownership: a Tiling owns its functions, polyhedra, tile counter and
// vertex expressions; apply() returns a new program and new schedules owned
// by the caller.

#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Domain;
class Expression;
class IndexFunction;
class InstanceGuard;
class Polyhedron;
class Program;
class Schedule;
class Statement;
class Xml;


// Working sets of one tiling pass, filled statement by statement.
struct TilingPass {
  std::set<int> used_counters;         // counter ranks of the tiled statements
  std::map<std::string, std::string> splits;  // by name, the value the kernel gives it on entry ("N / block_size")
  std::vector<Statement*> tiled;       // tiled statement i at index i
  std::vector<Schedule*> schedules;    // schedule of tiled statement i
  std::vector<Polyhedron*> tiles;      // tile of tiled statement i, or null
  std::vector<std::vector<Domain*>> domain_factors;  // of tiled statement i (see Program)
  std::vector<InstanceGuard*> guards;  // of tiled statement i, or null (see Program)
  std::vector<bool> superset;          // of tiled statement i (see Program)
  std::set<std::string> sizes;         // the size parameters split
  std::set<std::string> aligned_sizes; // those assumed multiples of block_size
  long long least_block_size = 1;      // block_size must be at least it
  long long block_multiple = 1;        // block_size must be a multiple of it
};

class Tiling {
public:
  std::vector<int> is_tiled;
  std::vector<int> is_constant_tiling;
  std::vector<int> is_rectangular_ZIL;
  std::vector<int> is_general_ZIL;
  std::vector<std::vector<int>> tile_size;         // constant tiling
  std::vector<IndexFunction*> tile_hyperplans;     // constant and rectangular ZIL
  std::vector<std::vector<int>> tile_ratio;        // rectangular ZIL
  std::vector<std::vector<std::vector<int>>> tile_lattice;  // general ZIL: d + 1 rows of d
  std::vector<Polyhedron*> tile_shape;             // general ZIL
  std::vector<int> tile_group;                     // -1 when not tiled
  std::vector<IndexFunction*> schedule;
  std::vector<std::vector<int>> tile_dimensions;   // schedule positions holding __T
  int nb_statements = 0;
  std::vector<std::pair<int, Expression*>> tile_counter;  // rank and leaf of tile_counter_<k>
  std::set<int> tile_counter_set;
  std::vector<Polyhedron*> tile;  // constant tiling: the tile constraints, else null
  std::vector<std::vector<std::map<int, Expression*>>> tile_vertices;

  Tiling() = default;
  // Copies of the twelve per-statement vectors, with clones of every
  // hyperplane function, shape and schedule; the derived fields stay empty.
  Tiling(std::vector<int> is_tiled, std::vector<int> is_constant_tiling, std::vector<int> is_rectangular_ZIL,
         std::vector<int> is_general_ZIL, std::vector<std::vector<int>> tile_size,
         std::vector<IndexFunction*> tile_hyperplans, std::vector<std::vector<int>> tile_ratio,
         std::vector<std::vector<std::vector<int>>> tile_lattice, std::vector<Polyhedron*> tile_shape,
         std::vector<int> tile_group, std::vector<IndexFunction*> schedule,
         std::vector<std::vector<int>> tile_dimensions);
  // The saved fields of an XML element; nb_statements becomes the number
  // of is_tiled entries and tile_counter_set the ranks of tile_counter. The
  // kinds, ratios, lattices, shapes and groups stay empty.
  explicit Tiling(const Xml& node);
  ~Tiling();
  Tiling(const Tiling&) = delete;
  Tiling& operator=(const Tiling&) = delete;

  // Registers the tile counters shared by all constant-tiled statements,
  // builds their tiles and puts the tile counters into their schedules. A
  // value beyond the model's int rows refuses the input at the line of its
  // statement in `statements` (kept; the program's), or is thrown without.
  void compute_constant_tiling_domains(const std::vector<Statement*>* statements = nullptr);
  // The tiled copy of `program` (left unchanged) and one schedule per
  // statement.
  std::pair<Program*, std::vector<Schedule*>> apply(Program* program);
  // The parametric tilings of statement i, given as its clone `s` (handed
  // over to the pass).
  void apply_rectangular_ZIL(int i, Statement* s, TilingPass& pass);
  void apply_general_ZIL(int i, Statement* s, TilingPass& pass);
  // Converts nothing: the record is left as it is.
  void turn_to_ZIL_gen() {}
  // A new record built from the twelve per-statement vectors.
  Tiling* clone();

  // ---- full and partial tiles of constant tiling ----
  // For these, and once compute_constant_tiling_domains() has run, an
  // is_tiled entry of -1 marks a statement that is not tiled. The domain
  // stays the caller's; results are new.
  // The tile counter values of the tiles that meet `domain`.
  Polyhedron* tile_domain(int stmt, Polyhedron* domain);
  // The tile counter values of the tiles whose every vertex (tile_vertices)
  // lies in `domain`; tile_domain without vertices.
  Polyhedron* full_tile_domain(int stmt, Polyhedron* domain);
  // Every tiled statement split into a copy running its full tiles and one
  // copy per piece of its partial tiles, all over the tile counters too:
  // ((new program, no schedule), statement -> ranks of its copies). Traces
  // the copies on standard output.
  std::pair<std::pair<Program*, std::vector<Schedule*>>, std::map<int, std::vector<int>>>
  apply_separate_full_tiles(Program* program);
  // (last hyperplane of the statement, its tile counter), and the same for
  // hyperplane `hyperplan_rank` of a constant-tiled statement: new clones.
  std::pair<Expression*, Expression*> last_hyperplan(int stmt);
  std::pair<Expression*, Expression*> get_hyperplan(int stmt, int hyperplan_rank);
  // The element `tag` with the eight saved fields.
  void print_xml(std::ostream& os, std::string tag);

private:
  // Stops on a name in the directives of statement i that is neither a
  // counter, nor allowed there, nor in `declared`.
  void check_directive_names(int i, const std::set<std::string>& declared) const;
  // Stops on the first directive fault of any statement; `declared` holds
  // the input's own names.
  void check_directives(Program* program, const std::set<std::string>& declared) const;
  void check_rectangular_ZIL(int i, const Statement* s) const;
  void check_general_ZIL(int i, const Statement* s) const;
  void check_tiled_dates(const Statement* s, int i) const;
  bool same_offset_dates(int i, int k, const std::vector<int>& denominators) const;
  void check_offset_dates(const Program* program, int i) const;
  std::string directive_text(int i) const;
  void check_piece_counts(Program* program) const;
  void check_constant_tiling(int i) const;
  void build_tile(int i);
  void place_tile_counters(int i);
  // Stops unless statement `stmt` is tiled with a tile; `who` names the
  // operation.
  void check_tile(int stmt, const std::string& who) const;
};

// The report of every statement's tiling (an is_tiled entry of 0 is not
// tiled). The "Incorrect <field>" lines of fields whose length differs from
// is_tiled and the tile group lines go to standard output; a line whose
// field has no entry for the statement is left out.
std::ostream& operator<<(std::ostream& out, Tiling& tiling);

#endif
