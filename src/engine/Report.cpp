#include "engine/Report.h"

namespace tikmeter::engine {

namespace {

constexpr TextView crlf = u"\r\n";

// finalResult + 2.5 in tenths is netWords + 25; the remainder of 50 takes its sign.
Tenths roundToMultipleOf5(long long netWords) {
    const long long m = netWords + 25;
    return Tenths{m - m % 50};
}

} // namespace

void buildReport(TestState& state, ResultFormat format) {
    Text report = Text(crlf) + u"|| " + plainText(state.keystrokeCount) + u"     " +
                  signedText(state.errorCount) + u"m" + Text(crlf) + state.remarksText;
    if (format == ResultFormat::Integer) {
        state.finalResult = Tenths{roundHalfEven(state.netWords, 10) * 10};
        report += u"= " + signedText(state.finalResult);
    } else {
        report += Text(crlf) + plainText(state.keystrokeCount) + u" \u00F7 5 = " +
                  signedText(state.grossWords) + Text(crlf) +
                  u"Less no. of words with errors:  - " + signedText(state.errorCount) + u" = " +
                  signedText(state.netWords) + Text(crlf) + u"WPM = " + signedText(state.netWords) +
                  u" \u00F7 10 = " + signedText(state.finalResult) + u" ";
        state.finalResult = roundToMultipleOf5(state.netWords);
        report += u"        Final: " + signedText(state.finalResult) + u" wpm ";
    }
    state.finalResultText = signedText(state.finalResult);
    state.reportText = std::move(report);
}

void reliabilityCheck(TestState& state, TextView sourceText) {
    const IndexedText source(sourceText);
    state.suspectCount = 0;
    for (long long k = 1; k <= state.errorCount; ++k) {
        if (k > static_cast<long long>(maxWords))
            throw BoundFailure("reliability check past error mark " + std::to_string(maxWords));
        const Text& text = state.errorMarks.at(k).text;
        if (!trimSpaces(text).empty() && source.contains(text))
            state.suspectCount += 1;
    }
    state.suspectsFound = state.suspectCount;
    if (state.suspectCount > 5) {
        state.statusText = statusUnreliable;
        state.suspectCount = 0;
    } else {
        state.statusText = statusSuccessful;
    }
}

} // namespace tikmeter::engine
