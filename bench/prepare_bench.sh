# The start every benchmark script shares, sourced by them: installs the benchmark packages,
# builds the given targets into the benchmark build folder (arguments starting with -D go to
# cmake's configuration) and makes a work folder that is removed on exit.
# Sets here (the source tree), build and work.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/tools/install-deps.sh" bench
build=${REELMONT_BENCH_BUILD_DIR:-$here/build-bench}
options=() targets=()
for argument in "$@"; do
    case $argument in
        -D*) options+=("$argument") ;;
        *) targets+=("$argument") ;;
    esac
done
cmake -S "$here" -B "$build" -DREELMONT_BENCH=ON -DREELMONT_TESTS=OFF "${options[@]}" >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
