# shellcheck shell=bash
# Steps shared by the end-to-end scripts (run_case.sh, run_zil_case.sh,
# run_error.sh, run_zil_error.sh); sourced by them, not run on its own.
# Every step that finds a fault prints a "FAIL" line and exits with 1.

# enter_scratch <tarvex> <iscc> <input.c>: sets tarvex and name (the input's
# base name), puts iscc's folder first on PATH (tarvex runs iscc from there),
# copies the input into a fresh folder that is removed on exit, and enters it.
# With E2E_RENAMED set in the environment, the copy's names are then renamed
# (see rename_names).
enter_scratch() {
  local iscc input
  tarvex=$(realpath "$1") iscc=$(realpath "$2") input=$(realpath "$3")
  PATH="$(dirname "$iscc"):$PATH"
  export PATH
  name=$(basename "$input" .c)
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp "$input" "$work/$name.c"
  cd "$work" || exit 1
  if [ -n "${E2E_RENAMED:-}" ]; then rename_names; fi
}

# The names rename_names gives, in this order: the loop counters, script
# variables and statement macros of the output and of iscc's script, which
# the input may use all the same (none is a C or C++ keyword, a name of the
# standard headers or a name the README reserves).
renamed_to=(c1 c0 c2 c1_0 theta L B F D0 S0 c3 c0_0 D c4 c2_0 L0 B0 F0 c5 c6 c7 c8 c9)

# rename_names: renames, in the copy of the input, its parameters ("//
# params:"), its arrays and scalars ("// arrays:") and its loop counters,
# each to the next name of renamed_to that the input does not hold, as whole
# words, its header lines included (the splits outer_<p> and inner_<p> of a
# "// script:" line too), but for the "// warning:" lines (tarvex's own text
# after the file's name, in which a counter c would be a word too) and the
# #include, "// options:", "// cxxflags:" and "// std:" lines, which hold
# no name of the program. The program stays the same one under other names,
# and its lines stay where they were.
rename_names() {
  local old new k=0 fresh=()
  for new in "${renamed_to[@]}"; do
    grep -qw -- "$new" "$name.c" || fresh+=("$new")
  done
  for old in $({ field params; field arrays; grep -oE 'for *\( *[A-Za-z_][A-Za-z0-9_]* *=' "$name.c" |
    sed -E 's/for *\( *([A-Za-z_0-9]*).*/\1/'; } | tr ' ' '\n' | awk 'NF && !seen[$0]++'); do
    [ $k -lt ${#fresh[@]} ] || break
    new=${fresh[k++]}
    sed -i -E "/^(\/\/ (warning|options|cxxflags|std):|#include)/! s/\b(outer_|inner_)?$old\b/\1$new/g" "$name.c"
  done
}

# field <key>: the text of the input's "// <key>: ..." comment line, without
# the blanks after the colon.
field() { sed -n "s|^// $1: *||p" "$name.c"; }

# message_on <stdout|stderr>: the expected message named by the input's
# "// <stream>: <message>" line; only the one blank after the colon is
# dropped, the message is taken as it stands.
message_on() { sed -n "s|^// $1: ||p" "$name.c"; }

# run_tarvex [options...]: runs tarvex on the input, its standard output
# in tarvex.log and its standard error in tarvex.err; a failing run ends
# the test with them.
run_tarvex() {
  if ! "$tarvex" "$@" "$name.c" >tarvex.log 2>tarvex.err; then
    cat tarvex.log tarvex.err
    echo "FAIL: tarvex exited with an error"
    exit 1
  fi
}

# check_warnings: tarvex's warnings (the lines of tarvex.err that hold
# ": warning: ") must be the input's "// warning: <line>" lines, in any
# order, and name exactly the statements whose macros in the tiled output
# test every point. With LAST_MODE_WARNING set (the text after "statement
# #<k> " of the last mode's warning, see run_last_mode.sh), a warning that
# the input does not expect must have that text and name a line of the
# input that holds an assignment.
check_warnings() {
  local actual expected missing extra line guarded warned
  actual=$(grep -F ': warning: ' tarvex.err | sort || true)
  expected=$(message_on warning | sort)
  missing=$(comm -13 <(echo "$actual") <(echo "$expected"))
  extra=$(comm -23 <(echo "$actual") <(echo "$expected"))
  if [ -n "$missing" ]; then
    echo "FAIL: warnings missing:"; echo "$missing"; cat tarvex.err; exit 1
  fi
  while IFS= read -r line; do
    [ -n "$line" ] || continue
    local at=${line#"$name.c:"}
    at=${at%%:*}
    if [ -z "${LAST_MODE_WARNING:-}" ] || ! [[ $line =~ ^"$name.c:"[0-9]+": warning: statement #"[0-9]+" $LAST_MODE_WARNING"$ ]] ||
      ! sed -n "${at}p" "$name.c" | grep -q '='; then
      echo "FAIL: unexpected warning: $line"; exit 1
    fi
  done <<<"$extra"
  guarded=$(sed -n 's/^#define S\([0-9]*\)(.*) { if (.*/\1/p' "$name.tiled.cc" | sort)
  warned=$(echo "$actual" | sed -n 's/.*: warning: statement #\([0-9]*\) .*/\1/p' | sort)
  if [ "$guarded" != "$warned" ]; then
    echo "FAIL: the statements warned of ($warned) are not those that test every point ($guarded)"; exit 1
  fi
}

# check_expansion <c++ compiler>: the tiled output after the preprocessor
# must stay within 3 times the size of the file. The names the output
# defines for its nest evaluate each argument once, so that a bound that isl
# prints as nested calls grows by its own text, where a macro repeating its
# arguments would double it with each call. The #include lines are left out
# (the system headers are not the nest's), and the statement macros are read
# as plain text, their calls as calls: each call would repeat its statement,
# which lengthens the output by the calls' number, whatever the nest's
# names do. The preprocessor's output is cut just past the limit, which an
# expansion that doubles passes at once.
check_expansion() {
  local size limit expanded
  size=$(wc -c <"$name.tiled.cc")
  limit=$((3 * size))
  expanded=$(grep -v '^#include' "$name.tiled.cc" | sed -E 's/^#define (S[0-9]+\()/\1/' |
    "$1" -E -P -x c++ - 2>/dev/null | head -c $((limit + 1)) | wc -c) || true
  if [ "$expanded" -gt "$limit" ]; then
    echo "FAIL: $name.tiled.cc ($size bytes) grows past $limit bytes after the preprocessor"; exit 1
  fi
}

# write_driver <params> <arrays> [zil]: writes driver.cc, which is compiled
# as C with the original input, or as C++ with -DTILED and the tiled output
# (so that C++ reading the input's text otherwise than C shows), fills the
# listed arrays and scalars from a fixed pseudo-random sequence, sets the
# parameters from the command line, runs the kernel twice (unless SKIP_KERNEL is
# set in the environment) and prints every listed object. Each object is
# filled and printed as a flat sequence of its scalars, whose type comes
# from the original (see scalar_of). With "zil" the first command-line
# value is block_size, set in main; both builds declare it without
# initialiser, so it is 0 while the tiled file's globals are initialised at
# program start, as in a user's program. A kernel with parameters names its
# calls and the driver's own variables in the input's comment lines "call:"
# (the original's call, default kernel()), "tiled_call:" (default
# tiled_kernel()), "original_decls:" (declared for the original build only)
# and "driver_decls:" (for both builds). Lines "original_prelude:" come
# ahead of the original in its build (the min and max macros of an input
# that calls them without defining them).
write_driver() {
  local params=$1 arrays=$2 zil=${3:-} a p call tiled_call
  call=$(field call) tiled_call=$(field tiled_call)
  probe_scalars "$arrays" "$zil" || return 1
  {
    echo '#include <stdio.h>'
    echo '#include <stdlib.h>'
    echo '#include <stddef.h>'
    echo '#ifdef TILED'
    echo 'int block_size;'
    echo "#include \"$name.tiled.cc\""
    echo "#define RUN ${tiled_call:-tiled_kernel()}"
    echo '#else'
    original_head "$zil"
    echo "#define RUN ${call:-kernel()}"
    echo '#endif'
    field driver_decls
    cat <<'DRIVER'
static long seed = 12345;
static long next_value(void) {
  seed = (seed * 1103515245 + 12345) % 2147483648L;
  return seed % 19 - 9;
}
/* x holds sizeof(x) / sizeof(e) scalars of e's type, e being its first. */
#define FILL(x, e) do { __typeof__(e) *p_ = (__typeof__(e) *)(void *)&(x); \
  for (size_t k_ = 0; k_ < sizeof(x) / sizeof(e); k_++) p_[k_] = (__typeof__(e))next_value(); } while (0)
#define SHOW(x, e) do { const __typeof__(e) *p_ = (const __typeof__(e) *)(const void *)&(x); \
  for (size_t k_ = 0; k_ < sizeof(x) / sizeof(e); k_++) printf("%.17g\n", (double)p_[k_]); } while (0)
int main(int argc, char** argv) {
  int next = 1;
  (void)argc;
DRIVER
    if [ -n "$zil" ]; then echo '  block_size = atoi(argv[next++]);'; fi
    for a in $arrays; do echo "  FILL($a, $(scalar_of "$a"));"; done
    for p in $params; do echo "  $p = atoi(argv[next++]);"; done
    echo '  if (!getenv("SKIP_KERNEL")) { RUN; RUN; }'
    for a in $arrays; do echo "  printf(\"$a\\n\"); SHOW($a, $(scalar_of "$a"));"; done
    echo '  return 0;'
    echo '}'
  } >driver.cc
}

# original_head [zil]: the lines of the original's build ahead of the
# driver's own: block_size with "zil", the input's prelude, the input, and
# its original declarations.
original_head() {
  if [ -n "${1:-}" ]; then echo 'int block_size;'; fi
  field original_prelude
  echo "#include \"$name.c\""
  field original_decls
}

# probe_scalars <objects> [zil]: writes "scalars", one line "<object>
# <first scalar>" per object: its first scalar in C, `A[0][0]` for a
# two-dimensional array, found by one syntax check of the original compiled
# as C: the fewest subscripts after which a unary plus applies (it applies
# to no array, pointer or struct). Typedef names and arrays of them are
# followed by the compiler itself. Fails, after a "FAIL" line, when an
# object has none.
probe_scalars() {
  local a subscripts line errors
  original_head "${2:-}" >probe.c
  field driver_decls >>probe.c
  line=$(wc -l <probe.c)
  : >probes
  for a in $1; do
    subscripts=""
    for _ in 1 2 3 4 5 6 7 8; do
      line=$((line + 1))
      echo "static void probe_$line(void) { (void)sizeof(+($a$subscripts)); }" >>probe.c
      echo "$line $a $a$subscripts" >>probes
      subscripts+="[0]"
    done
  done
  errors=$({ ${E2E_CC:-gcc} -std=c11 -fsyntax-only -w -fmax-errors=0 probe.c 2>&1 || true; } |
    sed -n 's/^probe\.c:\([0-9]*\):[0-9]*: error: .*/\1/p' | sort -u)
  : >scalars
  while read -r line a subscripts; do
    grep -q "^$a " scalars || grep -qx "$line" <<<"$errors" || echo "$a $subscripts" >>scalars
  done <probes
  for a in $1; do
    grep -q "^$a " scalars || { echo "FAIL: no scalar of $a in the original compiled as C"; return 1; }
  done
}

# scalar_of <object>: its first scalar, from "scalars".
scalar_of() { sed -n "s/^$1 //p" scalars; }

# compile_pair <c++ compiler> <standard>: builds ./original from driver.cc
# compiled as C (gcc -std=c11, or $E2E_CC) and ./tiled compiled as C++ in
# the standard, with the same flags (no contraction, so that floating-point
# results can be compared exactly), and the input's "// cxxflags:" line
# (-fsanitize=signed-integer-overflow -fno-sanitize-recover stops a program
# whose int arithmetic overflows, which the optimiser may otherwise hide).
# The tiled code is compiled without -w, as a user compiles it: g++ lets -w
# silence some errors (a narrowing in a brace list).
compile_pair() {
  local flags
  flags=$(field cxxflags)
  # shellcheck disable=SC2086
  ${E2E_CC:-gcc} -std=c11 -O1 -ffp-contract=off -w $flags -o original -x c driver.cc -x none -lm
  # shellcheck disable=SC2086
  "$1" -std="$2" -O1 -ffp-contract=off $flags -DTILED -o tiled driver.cc -lm
}

# compare_outputs <failure text> <values>: runs both programs with the
# blank-separated values as arguments; differing outputs end the test with
# "<failure text><values>" and the first differences. The tiled program
# gets 20 seconds: a nest that scans far more points than it runs (a whole
# tile of block_size^3 points for a few instances) fails the test rather
# than hangs it.
compare_outputs() {
  local status=0
  # shellcheck disable=SC2086
  ./original $2 >original.out
  # shellcheck disable=SC2086
  timeout -k 2 20 ./tiled $2 >tiled.out || status=$?
  if [ "$status" = 124 ] || [ "$status" = 137 ]; then
    echo "FAIL: the tiled program ran past 20 seconds for: $2"; exit 1
  elif [ "$status" != 0 ]; then
    echo "FAIL: the tiled program exited with status $status for: $2"; exit 1
  fi
  if ! cmp -s original.out tiled.out; then
    echo "$1$2"
    diff original.out tiled.out | head -5
    exit 1
  fi
}

# expect_refusal <stream> <stream's name> <message> [options...]: runs
# tarvex with the options on an input it must refuse and checks exit status
# 1, the message as a whole line of <stream> (stdout or stderr), that no
# tiled output was written, and that standard output does not hold the
# input's "// not on stdout: <text>" if it names one.
expect_refusal() {
  local stream=$1 where=$2 message=$3 status=0
  shift 3
  "$tarvex" "$@" "$name.c" >stdout 2>stderr || status=$?
  if [ "$status" != 1 ]; then
    echo "FAIL: exit status $status"; cat stdout stderr; exit 1
  fi
  if ! grep -qxF -- "$message" "$stream"; then
    echo "FAIL: no line \"$message\" on $where"; cat stdout stderr; exit 1
  fi
  if [ -e "$name.tiled.cc" ]; then
    echo "FAIL: $name.tiled.cc was written"; exit 1
  fi
  local absent
  absent=$(message_on "not on stdout")
  if [ -n "$absent" ] && grep -qF -- "$absent" stdout; then
    echo "FAIL: \"$absent\" on standard output: the refusal came too late"; cat stdout stderr; exit 1
  fi
  echo "ok: $name"
}
