#!/usr/bin/env bash
# Mutation run for the marking engine's rule tests. Plants each fault of a list in src/, one
# at a time, rebuilds engine_tests, runs the rule tests (not the session's) and prints which
# tests fail: a fault that no test notices is reported as SURVIVED. src/ is restored with
# `git checkout -- src` after every fault and on exit, so never run it with changes in src/.
#
#   scripts/engine-mutants.sh BUILD_DIR [LIST] [ID...]     (CHECK=1: only check the list)
#
# A list line is "ID @@ FILE @@ TEXT @@ REPLACEMENT" (<NL> stands for a line break); TEXT must
# occur exactly once in FILE.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:?usage: $0 BUILD_DIR [LIST] [ID...]}")
list=$(realpath "${2:-$root/scripts/engine-mutants.txt}")
shift $(($# < 2 ? $# : 2))
cd "$root" || exit 2
git diff --quiet -- src || { echo "src/ has changes: stash or commit them first" >&2; exit 2; }
trap 'git checkout -q -- src' EXIT INT TERM
others='ApplyMarks.*:InsertReport.*:MarkedTestPath.*:ResultLines.*:TestCopies.*:SessionTest.*'
others+=':ProgramFolder.*:SourceRows.*'

while IFS= read -r line; do
    [[ -z ${line// /} || $line == \#* ]] && continue
    id=${line%% *}
    if [[ $# -gt 0 && " $* " != *" $id "* ]]; then continue; fi
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
    if ! cmake --build "$build" -j2 --target engine_tests >/dev/null 2>&1; then
        echo "$id BUILD-FAILED"
    else
        out=$(timeout 60 "$build/tests/engine/engine_tests" --gtest_filter="-$others" 2>&1)
        rc=$?
        # Failed tests once each; the corpus rows as one count.
        failed=$(grep -oE '^\[  FAILED  \] [A-Za-z][A-Za-z0-9_/.]*' <<<"$out" | sed 's/.* //' |
                 sort -u | awk '/CorpusMarking/ { c++; next } { printf "%s ", $0 }
                                END { if (c) printf "CorpusMarking(%d rows)", c }')
        if [[ $rc -eq 0 ]]; then echo "$id SURVIVED"
        elif [[ -z $failed ]]; then echo "$id KILLED (crash or timeout, exit $rc)"
        else echo "$id KILLED by $failed"; fi
    fi
    git checkout -q -- src
done <"$list"
