#!/usr/bin/env bash
# Mutation check of the core units: each mutation below is applied, one at a time, to a scratch
# copy of this tree, which is rebuilt incrementally and tested; a mutation the suite does not
# notice survives. With a revision, the tests come from that revision and the program from this
# tree, so that two versions of the tests are measured against the same program.
# Usage: tools/mutation_check.sh [TESTS_REVISION]   (scratch in $MUTATION_SCRATCH or /tmp)
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
revision=${1:-}
scratch=${MUTATION_SCRATCH:-/tmp/reelmont-mutants}
tree=$scratch/tree
build=$scratch/build
export CCACHE_BASEDIR=$scratch

# file @@ exact text (found once) @@ replacement
mutations=$(
    cat <<'EOF'
src/gif/gif_gifhandler.cpp @@ (1 << bits) < count @@ (1 << bits) <= count
src/gif/gif_gifhandler.cpp @@ static_cast<unsigned char>((value >> 8) & 0xFF)} @@ 0}
src/gif/gif_gifhandler.cpp @@ WriteByte(0) && WriteByte(0) && @@ WriteByte(0) &&
src/gif/gif_gifhandler.cpp @@ 0x80 + 16 * (bits - 1) + (bits - 1) @@ 0x80 + 16 * (bits - 1)
src/gif/gif_gifhandler.cpp @@ transparentIndex >= 0 ? 0x01 : 0x00 @@ 0x00
src/gif/gif_gifhandler.cpp @@ return WriteByte(0x3B); @@ return true;
src/gif/gif_gifhandler.cpp @@ for (int i = count - 1; i >= 0; --i) { @@ for (int i = 0; i < count; ++i) {
src/gif/gif_gifhandler.cpp @@ if (++distinct > kMaxColours) { @@ if (++distinct >= kMaxColours) {
src/gif/gif_gifhandler.cpp @@ 0x80 + (bits - 1) @@ bits - 1
src/gif/gif_gifhandler.cpp @@ if (read < kMaxColours) { @@ if (read < 0) {
src/gif/gif_gifhandler.cpp @@ passes > 1 ? passes - 1 : 0 @@ passes
src/gif/gif_gifhandler.cpp @@ WriteWord(m_layout.top) @@ WriteWord(0)
src/gif/gif_gifhandler.cpp @@ others[p] = clear; @@ others[p] = clear ^ 1;
src/gif/gif_lzw.cpp @@ const int kClearAt = 4095; @@ const int kClearAt = 4096;
src/gif/gif_lzw.cpp @@ return m_pendingCode; @@ return m_pendingCode + 1;
src/export/frame_optimiser.cpp @@ if (k || stretch.colour == clearColour) { @@ if (k) {
src/export/frame_fitting.cpp @@ if (scaleX >= 1 && scaleY >= 1) { @@ if (scaleX > 1 && scaleY > 1) {
src/export/frame_fitting.cpp @@ if (scaleX >= 1 && scaleY >= 1) { @@ if (scaleX >= 1 || scaleY >= 1) {
src/export/frame_fitting.cpp @@ std::min(scaleX, scaleY) @@ std::max(scaleX, scaleY)
src/export/frame_fitting.cpp @@ std::max(1, static_cast<int>(height * scale)) @@ static_cast<int>(height * scale)
src/export/frame_fitting.cpp @@ (canvasHeight - frame.GetHeight()) / 2 @@ 0
src/export/frame_fitting.cpp @@ scaledWidth < canvasWidth || scaledHeight @@ scaledWidth < canvasWidth && scaledHeight
src/export/frame_fitting.cpp @@ canvasWidth <= 0 || @@ canvasWidth < 0 ||
src/window/thumbnailctrl_selection.cpp @@ Select(n, !IsSelected(n)); @@ Select(n, true);
src/window/thumbnailctrl_selection.cpp @@ m_anchorItem = anchor; @@
src/window/thumbnailctrl_selection.cpp @@ m_selections.Clear();
        Select(n, true); @@ Select(n, true);
src/window/thumbnailctrl_selection.cpp @@ Notify(IsSelected(index) ? @@ Notify(!IsSelected(index) ?
src/window/thumbnailctrl_selection.cpp @@ target = current + columns; @@ target = current + 1;
src/window/thumbnailctrl_selection.cpp @@ target = std::min(current + page, last); @@ target = current + page;
src/window/thumbnailctrl_selection.cpp @@ target >= 0 && target <= last @@ target >= 0 && target < last
src/window/thumbnailctrl_selection.cpp @@ m_focusItem = GetCount() - 1; @@ m_focusItem = 0;
src/window/thumbnailctrl_input.cpp @@ modifiers |= THUMBSTRIP_MOD_SHIFT; @@ modifiers |= THUMBSTRIP_MOD_CTRL;
src/window/thumbnailctrl_input.cpp @@ if (n != m_focusItem) {
        SetFocusItem(n); @@ if (n != m_focusItem) {
src/window/thumbnailctrl_input.cpp @@ if (m_deferredSelect) {
        SetFocusItem(n); @@ if (m_deferredSelect) {
src/import/project_reader.cpp @@ if (IsGifSourceUtf8(path)) { @@ if (false) {
src/import/project_reader.cpp @@ project.height = NumberIn(height); @@ project.height = NumberIn(width);
src/import/project_reader.cpp @@ project.delay = NumberIn(delay); @@ project.delay = 10;
src/import/project_reader.cpp @@ paths.clear(); @@
src/import/project_reader.cpp @@ project.reached = ProjectStep::Delay; @@
src/import/project_reader.cpp @@ lastFound = lookup.Exists(source); @@ lastFound = true;
src/import/source_lookup.cpp @@ return count <= mostNames; @@ return true;
src/import/source_lookup.cpp @@ type == DT_REG || type == DT_LNK || type == DT_UNKNOWN @@ type == DT_REG
src/import/project_reader.cpp @@ project.imagesEmpty = images->children.empty(); @@ project.imagesEmpty = false;
src/import/project_reader.cpp @@ if (size > kLargestProjectFile) { @@ if (size > 2 * kLargestProjectFile) {
EOF
)

step() { printf '%s\n' "$*" >&2; }

# The tree to build is kept between runs; only files whose content differs from the last run's
# are replaced (and so get a new time), so that the build redoes exactly what changed.
incoming=$scratch/incoming
rm -rf "$incoming" && mkdir -p "$incoming" "$tree"
(cd "$here" && git ls-files -z -c -o --exclude-standard | tar --null -T - -cf -) |
    tar -xmf - -C "$incoming"
if [ -n "$revision" ]; then
    rm -rf "$incoming/tests"
    git -C "$here" archive "$revision" tests | tar -xmf - -C "$incoming"
fi
(cd "$incoming" && find . -type f) | while read -r f; do
    cmp -s "$incoming/$f" "$tree/$f" ||
        { mkdir -p "$(dirname "$tree/$f")" && cp "$incoming/$f" "$tree/$f"; }
done
(cd "$tree" && find . -type f) | while read -r f; do
    [ -e "$incoming/$f" ] || rm "$tree/$f"
done

# The mutated files are compiled afresh: a run stopped midway may have left a mutant's objects.
while read -r file _; do
    [ -f "$tree/$file" ] && touch "$tree/$file"
done < <(grep " @@ " <<<"$mutations")

build_and_test() {
    # Unit and window tests: those of the staged program and the package cannot see these units.
    nice cmake --build "$build" --target unit_tests gui_tests >"$scratch/build.log" 2>&1 || return 2
    (cd "$build" && nice xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        ctest -j 2 -L "^(unit|gui)$" --timeout 120 --stop-on-failure >"$scratch/test.log" 2>&1) || return 1
    return 0
}

nice cmake -S "$tree" -B "$build" -G Ninja -DREELMONT_TESTS=ON \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >"$scratch/configure.log" 2>&1 ||
    { step "configure failed: $scratch/configure.log"; exit 2; }
build_and_test || { step "the unmutated tree does not pass: $scratch/*.log"; exit 2; }

caught=0 survived=0 skipped=0 number=0
while IFS= read -r line || [ -n "$line" ]; do
    [ -z "$line" ] && continue
    # A mutation may span lines: continuation lines start with a blank.
    while [[ "$line" != *" @@ "*" @@"* ]] && IFS= read -r more; do
        line+=$'\n'$more
    done
    file=${line%% @@ *}
    rest=${line#* @@ }
    old=${rest%% @@*}
    new=${rest#* @@}
    new=${new# }
    number=$((number + 1))
    original=$(<"$tree/$file")
    without=${original//"$old"/}
    if [ $((${#original} - ${#without})) -ne ${#old} ]; then
        result="n/a"
        skipped=$((skipped + 1))
    else
        printf '%s\n' "${original/"$old"/"$new"}" >"$tree/$file"
        build_and_test
        case $? in
        0) result="SURVIVED" survived=$((survived + 1)) ;;
        1) result="caught" caught=$((caught + 1)) ;;
        *) result="no build" skipped=$((skipped + 1)) ;;
        esac
        printf '%s\n' "$original" >"$tree/$file"
    fi
    printf '%2d %-8s %s: %s -> %s\n' "$number" "$result" "${file##*/}" "${old//$'\n'/ }" "${new:-(dropped)}"
done <<<"$mutations"
printf 'caught %d of %d (%d survived, %d not applicable or not built)\n' \
    "$caught" "$((caught + survived))" "$survived" "$skipped"
