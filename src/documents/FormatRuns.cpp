#include "documents/FormatRuns.h"

#include <algorithm>

namespace tikmeter::documents::runs {

namespace {

// Index of the run that contains pos, or runs.size() when pos is at or past the end.
std::size_t findRun(const std::vector<FormatRun>& runs, std::size_t pos) {
    const auto it =
        std::upper_bound(runs.begin(), runs.end(), pos, [](std::size_t p, const FormatRun& run) {
            return p < run.start + run.length;
        });
    return static_cast<std::size_t>(it - runs.begin());
}

// Makes pos a run boundary; returns the index of the first run that starts at or after pos.
std::size_t splitAt(std::vector<FormatRun>& runs, std::size_t pos) {
    const std::size_t i = findRun(runs, pos);
    if (i == runs.size() || runs[i].start == pos) {
        return i;
    }
    FormatRun tail = runs[i];
    tail.start = pos;
    tail.length = runs[i].start + runs[i].length - pos;
    runs[i].length = pos - runs[i].start;
    runs.insert(runs.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
    return i + 1;
}

// Drops empty runs and merges equal neighbours in [from, to) (indexes clamped).
void normalize(std::vector<FormatRun>& runs, std::size_t from, std::size_t to) {
    from = from > 0 ? from - 1 : 0;
    to = std::min(to + 1, runs.size());
    std::size_t out = from;
    for (std::size_t i = from; i < to; ++i) {
        if (runs[i].length == 0) {
            continue;
        }
        if (out > from && runs[out - 1].format == runs[i].format &&
            runs[out - 1].start + runs[out - 1].length == runs[i].start) {
            runs[out - 1].length += runs[i].length;
            continue;
        }
        if (out != i) {
            runs[out] = std::move(runs[i]);
        }
        ++out;
    }
    runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(out),
               runs.begin() + static_cast<std::ptrdiff_t>(to));
}

} // namespace

const CharFormat& formatAt(const std::vector<FormatRun>& runs, std::size_t pos) {
    return runs[findRun(runs, pos)].format;
}

void applyFormat(std::vector<FormatRun>& runs, std::size_t start, std::size_t length,
                 const std::function<void(CharFormat&)>& change) {
    if (length == 0) {
        return;
    }
    const std::size_t first = splitAt(runs, start);
    const std::size_t last = splitAt(runs, start + length);
    for (std::size_t i = first; i < last; ++i) {
        change(runs[i].format);
    }
    normalize(runs, first, last);
}

void replaceRange(std::vector<FormatRun>& runs, std::size_t start, std::size_t length,
                  std::size_t newLength, const CharFormat& format) {
    const std::size_t first = splitAt(runs, start);
    const std::size_t last = splitAt(runs, start + length);
    runs.erase(runs.begin() + static_cast<std::ptrdiff_t>(first),
               runs.begin() + static_cast<std::ptrdiff_t>(last));
    for (std::size_t i = first; i < runs.size(); ++i) {
        runs[i].start = runs[i].start - length + newLength;
    }
    if (newLength > 0) {
        runs.insert(runs.begin() + static_cast<std::ptrdiff_t>(first),
                    FormatRun{start, newLength, format});
    }
    normalize(runs, first, first + 1);
}

} // namespace tikmeter::documents::runs
