#!/usr/bin/env bash
# Mutation run: plants each fault of a list in src/, one at a time, rebuilds the test program of
# the fault's folder (src/X/... -> X_tests), runs it and prints the tests that fail; a fault no
# test notices is reported as SURVIVED. The window and the browser (src/app, src/browser) have
# Qt Test programs instead: all of tests/X are rebuilt and run through ctest, and the failed
# test functions are printed. src/ is restored with `git checkout -- src` after every fault and
# on exit, so never run it with changes in src/.
#
#   scripts/mutants.sh BUILD_DIR LIST [ID...]     (CHECK=1: only check that every line applies;
#                                                  FILTER=pattern: the tests to run, for app
#                                                  and browser the start of a CTest name)
#
# A list line is "ID @@ FILE @@ TEXT @@ REPLACEMENT" (<NL> stands for a line break); TEXT must
# occur exactly once in FILE.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:?usage: $0 BUILD_DIR LIST [ID...]}")
list=$(realpath "${2:?usage: $0 BUILD_DIR LIST [ID...]}")
shift 2
cd "$root" || exit 2
git diff --quiet -- src || { echo "src/ has changes: stash or commit them first" >&2; exit 2; }
trap 'git checkout -q -- src' EXIT
trap 'exit 130' INT TERM

while IFS= read -r line; do
    [[ -z ${line// /} || $line == \#* ]] && continue
    id=${line%% *}
    [[ $# -gt 0 && " $* " != *" $id "* ]] && continue
    file=$(sed -E 's/^[^@]*@@ *([^ ]*) *@@.*/\1/' <<<"$line")
    folder=${file#src/}
    folder=${folder%%/*}
    target=${folder}_tests
    qt=0
    if [[ $folder == app || $folder == browser ]]; then
        qt=1
        target=tests/$folder/all
    fi
    LINE=$line perl -e '
        my ($id, $file, $old, $new) = split /\s*@@\s*/, $ENV{LINE}, -1;
        s/<NL>/\n/g for $old, $new;
        open my $in, "<", $file or die "$id: $file: $!\n";
        my $text = do { local $/; <$in> };
        my $count = () = $text =~ /\Q$old\E/g;
        die "$id: \"$old\" occurs $count times in $file\n" unless $count == 1;
        $text =~ s/\Q$old\E/$new/;
        open my $out, ">", $file or die; print $out $text;' || { git checkout -q -- src; continue; }
    if [[ ${CHECK:-0} == 1 ]]; then
        git checkout -q -- src
        continue
    fi
    if ! cmake --build "$build" -j2 --target "$target" >/dev/null 2>&1; then
        echo "$id BUILD-FAILED"
    elif [[ $qt == 1 ]]; then
        # FAIL! lines name Class::function(row); a program that crashed or timed out is named.
        out=$(QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j2 --timeout 300 \
              --output-on-failure -R "^$folder\\.${FILTER:-}" 2>&1)
        rc=$?
        failed=$({ grep -oE '^FAIL!  : [A-Za-z_]+::[A-Za-z_]+' <<<"$out" | sed 's/.* //'
                   grep -E '^\s+[0-9]+ - \S+ \((SEGFAULT|Timeout|Subprocess|Exception|OTHER)' \
                       <<<"$out" | awk '{ print $3 "(crash)" }'; } | sort | uniq -c |
                 awk '{ printf "%s%s ", $2, ($1 > 1 ? "(" $1 " rows)" : "") }')
        if [[ $rc -eq 0 ]]; then echo "$id SURVIVED"
        elif [[ -z $failed ]]; then echo "$id KILLED (exit $rc)"
        else echo "$id KILLED by $failed"; fi
    else
        out=$(timeout 300 "$build/tests/${target%_tests}/$target" --gtest_filter="${FILTER:-*}" 2>&1)
        rc=$?
        # Each failed test once; numbered rows of one test as a count.
        failed=$(grep -oE '^\[  FAILED  \] [A-Za-z][A-Za-z0-9_/.]*' <<<"$out" | sed 's/.* //' |
                 sort -u | sed -E 's#/[0-9]+$##' | uniq -c |
                 awk '{ printf "%s%s ", $2, ($1 > 1 ? "(" $1 " rows)" : "") }')
        if [[ $rc -eq 0 ]]; then echo "$id SURVIVED"
        elif [[ -z $failed ]]; then echo "$id KILLED (crash or timeout, exit $rc)"
        else echo "$id KILLED by $failed"; fi
    fi
    git checkout -q -- src
done <"$list"
