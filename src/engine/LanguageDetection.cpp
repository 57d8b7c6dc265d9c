#include "engine/LanguageDetection.h"

#include <array>

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

bool holds(const Rule& rule, TextView text) {
    if (rule.eitherOne)
        return contains(text, rule.first) || contains(text, rule.second);
    return contains(text, rule.first) && (rule.second.empty() || contains(text, rule.second));
}

} // namespace

Language detectLanguage(TextView testText) {
    for (const Rule& rule : rules)
        if (holds(rule, testText))
            return rule.language;
    return Language::Afrikaans;
}

} // namespace tikmeter::engine
