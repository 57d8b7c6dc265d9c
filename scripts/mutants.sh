#!/usr/bin/env bash
# Mutation run: plants each fault of a list in src/, one at a time, rebuilds the test program of
# the fault's folder (src/X/... -> X_tests), runs it and prints the tests that fail; a fault no
# test notices is reported as SURVIVED. src/ is restored with `git checkout -- src` after every
# fault and on exit, so never run it with changes in src/.
#
#   scripts/mutants.sh BUILD_DIR LIST [ID...]     (CHECK=1: only check that every line applies;
#                                                  FILTER=pattern: the tests to run)
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
    target=${folder%%/*}_tests
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
