#include "operations/bpmvalue.h"

#include <QRegularExpression>

#include <cmath>

namespace BpmValue {

namespace {

// ASCII digits only, so other scripts' digits or a typed "1e3" are no tempo.
// A separator with digits on one side only ("96.", ".5") still reads as the
// number anyone would take it for.
const QRegularExpression &numberPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(?=[.,]?[0-9])[0-9]*([.,][0-9]*)?$"));
    return pattern;
}

// Halves go away from zero. Printing with one decimal would round the binary
// value instead, and 128.05 is held as 128.0499... there.
double rounded(double value, Precision precision)
{
    const double scale = precision == Precision::Whole ? 1.0 : 10.0;
    return std::round(value * scale) / scale;
}

bool isUsable(Range range)
{
    return std::isfinite(range.low) && std::isfinite(range.high) && range.low > 0 && range.low <= range.high;
}

// The range is judged on the value as it will be written, so 140.04 written
// as "140.0" stays, and 69.96 becomes "70.0" instead of doubling to "139.9".
// Rounding keeps order, so the written values of successive halvings fall
// steadily: the first one not above the range either fits or shows that no
// multiple does, as with 150 and a range of 100-110 narrower than an octave
// (doublings alike). Then the multiple written nearest the range wins (75
// here, not 150), the lower one on a tie.
double foldIntoRange(double value, Range range, Precision precision)
{
    const auto above = [&](double v) { return rounded(v, precision) > range.high; };
    const auto below = [&](double v) { return rounded(v, precision) < range.low; };

    double smaller = value;
    double larger = value;
    if (above(value)) {
        while (above(smaller)) {
            larger = smaller;
            smaller /= 2;
        }
    } else if (below(value)) {
        while (below(larger)) {
            smaller = larger;
            larger *= 2;
        }
    }
    for (const double candidate : {smaller, larger}) {
        if (!above(candidate) && !below(candidate)) {
            return candidate;
        }
    }
    const double overshoot = rounded(larger, precision) - range.high;
    const double undershoot = range.low - rounded(smaller, precision);
    return overshoot < undershoot ? larger : smaller;
}

} // namespace

std::optional<double> parse(const QString &text)
{
    QString number = text.trimmed();
    if (!numberPattern().match(number).hasMatch()) {
        return std::nullopt;
    }
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<QString> normalise(const QString &text, Precision precision, std::optional<Range> fold)
{
    const std::optional<double> parsed = parse(text);
    if (!parsed || !(*parsed > 0)) {
        return std::nullopt;
    }
    double value = *parsed;
    if (fold && isUsable(*fold)) {
        value = foldIntoRange(value, *fold, precision);
    }
    const double written = rounded(value, precision);
    // "0" (or an overflow) would be no cleaner than the text it replaces.
    if (!(written > 0) || !std::isfinite(written)) {
        return std::nullopt;
    }
    return QString::number(written, 'f', precision == Precision::Whole ? 0 : 1);
}

} // namespace BpmValue
