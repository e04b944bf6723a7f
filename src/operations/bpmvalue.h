#pragma once

#include <QString>

#include <optional>

namespace BpmValue {

// A tempo as typed or stored: digits with a decimal point or comma
// ("128", "128.5", "128,50", " 96 "); nothing for anything else.
std::optional<double> parse(const QString &text);

enum class Precision {
    Whole,      // "128"
    OneDecimal, // "128.0"
};

// Halve what is above high, double what is below low, until it fits.
struct Range
{
    double low = 70;
    double high = 140;
};

// The cleaned-up text of a tempo, rounded half away from zero and always
// written with a point; nothing when the text is no positive number or would
// be written as "0", which is left as it is. The range is judged on the
// written value; when no halving or doubling fits a range narrower than an
// octave, the one written nearest it is taken. A range that is not positive,
// or whose low is above its high, folds nothing.
std::optional<QString> normalise(const QString &text, Precision precision, std::optional<Range> fold = std::nullopt);

} // namespace BpmValue
