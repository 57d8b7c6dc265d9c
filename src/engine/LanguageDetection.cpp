#include "engine/LanguageDetection.h"

#include <array>
#include <utility>
#include <vector>

namespace tikmeter::engine {

namespace {

// A rule holds when the text contains `first` and either `second` is empty or the text
// contains it too (or, for an alternative rule, contains `first` or `second`).
struct Rule {
    TextView first;
    TextView second;
    Language language;
    bool eitherOne = false;
};

constexpr Language af = Language::Afrikaans;
constexpr Language en = Language::English;

constexpr std::array<Rule, 28> rules = {{
    {u"'n ", u" en ", af},    {u"'n ", u" nie ", af},
    {u"'n ", u" nie. ", af},  {u" het ", u" 'n ", af},
    {u" het ", u" nie ", af}, {u"'n ", u" kan ", af},
    {u"'n ", u" met ", af},   {u"'n ", u" soos ", af},
    {u"'n ", u" te ", af},    {u"'n ", u" maar ", af},
    {u"'n ", u"Die ", af},    {u" maar ", u" nie", af},
    {u" I ", u" or ", en},    {u"I ", u" and ", en},
    {u" not ", u"you ", en},  {u" not ", u"You ", en},
    {u" he ", u" I ", en},    {u" will ", u" a ", en},
    {u" will ", u" I ", en},  {u" can ", u" I ", en},
    {u" a ", u" I ", en},     {u" A ", u" a ", en},
    {u" a ", u"", en},        {u" 'n ", u"", af},
    {u" jy ", u"", af},       {u"ecause ", u"", en},
    {u"mdat ", u"", af},      {u"Daar ", u" daar ", af, true},
}};

// Whether the text contains a marker word, each looked for once however many rules name it
// ("'n " alone is in nine of them).
class MarkerSearch {
public:
    explicit MarkerSearch(TextView text) : text_(text) { answers_.reserve(2 * rules.size()); }

    bool found(TextView marker) {
        for (const auto& [known, present] : answers_)
            if (known == marker)
                return present;
        const bool present = contains(text_, marker);
        answers_.emplace_back(marker, present);
        return present;
    }

private:
    TextView text_;
    std::vector<std::pair<TextView, bool>> answers_;
};

bool holds(const Rule& rule, MarkerSearch& markers) {
    if (rule.eitherOne)
        return markers.found(rule.first) || markers.found(rule.second);
    return markers.found(rule.first) && (rule.second.empty() || markers.found(rule.second));
}

} // namespace

Language detectLanguage(TextView testText) {
    MarkerSearch markers(testText);
    for (const Rule& rule : rules)
        if (holds(rule, markers))
            return rule.language;
    return Language::Afrikaans;
}

} // namespace tikmeter::engine
