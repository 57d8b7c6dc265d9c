#include "engine/TextSearch.h"

#include <algorithm>

namespace tikmeter::engine {

long long findFirst(TextView text, TextView what, long long from) {
    if (text.empty())
        return 0;
    if (from < 1)
        from = 1;
    if (static_cast<std::size_t>(from) > text.size())
        return 0;
    const auto at = text.find(what, static_cast<std::size_t>(from - 1));
    return at == TextView::npos ? 0 : static_cast<long long>(at) + 1;
}

long long findLast(TextView text, TextView what) {
    return findLastWithin(text, what, static_cast<long long>(text.size()));
}

long long findLastWithin(TextView text, TextView what, long long limit) {
    if (text.empty() || limit < 1)
        return 0;
    if (what.empty())
        return 1;
    const auto head = text.substr(0, static_cast<std::size_t>(std::min<long long>(
                                         limit, static_cast<long long>(text.size()))));
    const auto at = head.rfind(what);
    return at == TextView::npos ? 0 : static_cast<long long>(at) + 1;
}

TextView mid(TextView text, long long start, long long length) {
    long long first = start;
    long long last = start + length - 1; // inclusive
    first = std::max(first, 1LL);
    last = std::min(last, static_cast<long long>(text.size()));
    if (length <= 0 || first > last)
        return {};
    return text.substr(static_cast<std::size_t>(first - 1),
                       static_cast<std::size_t>(last - first + 1));
}

TextView withoutTrailingSpaces(TextView text) {
    const auto end = text.find_last_not_of(u' ');
    return end == TextView::npos ? TextView{} : text.substr(0, end + 1);
}

TextView withoutLeadingSpaces(TextView text) {
    const auto begin = text.find_first_not_of(u' ');
    return begin == TextView::npos ? TextView{} : text.substr(begin);
}

Text trimTrailingSpaces(TextView text) {
    const auto end = text.find_last_not_of(u' ');
    return end == TextView::npos ? Text{} : Text(text.substr(0, end + 1));
}

Text trimLeadingSpaces(TextView text) {
    const auto begin = text.find_first_not_of(u' ');
    return begin == TextView::npos ? Text{} : Text(text.substr(begin));
}

Text trimSpaces(TextView text) {
    const auto begin = text.find_first_not_of(u' ');
    if (begin == TextView::npos)
        return {};
    const auto end = text.find_last_not_of(u' ');
    return Text(text.substr(begin, end - begin + 1));
}

bool equalsJoined(TextView whole, TextView first, TextView second) {
    return whole.size() == first.size() + second.size() && whole.substr(0, first.size()) == first &&
           whole.substr(first.size()) == second;
}

bool endsWith(TextView text, TextView tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

} // namespace tikmeter::engine
