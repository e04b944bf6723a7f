#include "tags/fields.h"

#include <QRegularExpression>

#include <QtGlobal>

namespace Fields {

const QVector<Names> &all()
{
    using S = Shape;
    const auto names = [](std::initializer_list<const char *> list) {
        QStringList result;
        for (const char *name : list)
            result << QString::fromUtf8(name);
        return result;
    };
    // The names DJ programs and the common taggers agree on; where they use
    // more than one, the one written comes first.
    static const QVector<Names> table = {
        {Field::Title, QStringLiteral("Title"), S::Text, "TIT2", names({"TITLE"}), names({"\xc2\xa9nam"}), "INAM"},
        {Field::Artist, QStringLiteral("Artist"), S::Text, "TPE1", names({"ARTIST"}), names({"\xc2\xa9" "ART"}), "IART"},
        {Field::Album, QStringLiteral("Album"), S::Text, "TALB", names({"ALBUM"}), names({"\xc2\xa9" "alb"}), "IPRD"},
        {Field::Year, QStringLiteral("Year"), S::Number, "TDRC", names({"DATE", "YEAR"}), names({"\xc2\xa9" "day"}), "ICRD"},
        {Field::Comment, QStringLiteral("Comment"), S::Text, "COMM", names({"COMMENT", "DESCRIPTION"}),
         names({"\xc2\xa9" "cmt"}), "ICMT"},
        {Field::Track, QStringLiteral("Track"), S::Number, "TRCK", names({"TRACKNUMBER", "TRACKNUM"}), names({"trkn"}),
         "IPRT"},
        {Field::Genre, QStringLiteral("Genre"), S::Text, "TCON", names({"GENRE"}), names({"\xc2\xa9gen"}), "IGNR"},
        {Field::Bpm, QStringLiteral("BPM"), S::Extra, "TBPM", names({"BPM"}), names({"tmpo"}), nullptr},
        {Field::Composer, QStringLiteral("Composer"), S::Extra, "TCOM", names({"COMPOSER"}), names({"\xc2\xa9wrt"}),
         nullptr},
        {Field::Grouping, QStringLiteral("Grouping"), S::Extra, "TIT1", names({"GROUPING"}), names({"\xc2\xa9grp"}),
         nullptr},
        {Field::Label, QStringLiteral("Label"), S::Extra, "TPUB", names({"LABEL", "ORGANIZATION", "PUBLISHER"}),
         names({"----:com.apple.iTunes:LABEL"}), nullptr},
        {Field::Remixer, QStringLiteral("Remixer"), S::Extra, "TPE4", names({"REMIXER", "MIXARTIST"}),
         names({"----:com.apple.iTunes:REMIXER"}), nullptr},
        {Field::InitialKey, QStringLiteral("InitialKey"), S::Extra, "TKEY", names({"INITIALKEY", "KEY"}),
         names({"----:com.apple.iTunes:initialkey"}), nullptr},
    };
    return table;
}

const Names &of(Field field)
{
    const Names &names = all().at(int(field));
    Q_ASSERT(names.field == field);
    return names;
}

std::optional<Field> fromKey(const QString &key)
{
    for (const Names &names : all()) {
        if (names.key == key)
            return names.field;
    }
    return std::nullopt;
}

QString absent(Field field)
{
    switch (of(field).shape) {
    case Shape::Text:
        return QString();
    case Shape::Number:
        return QStringLiteral("0");
    case Shape::Extra:
        break;
    }
    return QStringLiteral(" ");
}

int leadingNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    int end = 0;
    if (end < trimmed.size() && (trimmed.at(end) == QLatin1Char('-') || trimmed.at(end) == QLatin1Char('+')))
        ++end;
    while (end < trimmed.size() && trimmed.at(end).isDigit() && trimmed.at(end).unicode() < 128)
        ++end;
    return trimmed.left(end).toInt();
}

bool isTrackText(const QString &text)
{
    // Anchored as a whole: "$" alone would let a trailing newline through.
    static const QRegularExpression track(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{1,4}(/[0-9]{1,4})?")));
    return text.isEmpty() || track.match(text).hasMatch();
}

bool isYearText(const QString &text)
{
    static const QRegularExpression date(QRegularExpression::anchoredPattern(
        QStringLiteral("[0-9]{4}(-(0[1-9]|1[0-2])(-(0[1-9]|[12][0-9]|3[01]))?)?")));
    return text.isEmpty() || text == QLatin1String("0") || date.match(text).hasMatch();
}

namespace {

bool holds(Field field, const QString &text)
{
    Q_ASSERT(of(field).shape == Shape::Number);
    return field == Field::Year ? isYearText(text) : isTrackText(text);
}

} // namespace

QString shownNumber(Field field, const QString &stored)
{
    if (!stored.isEmpty() && holds(field, stored))
        return stored;
    return QString::number(qMax(0, leadingNumber(field == Field::Year ? stored.left(4) : stored)));
}

std::optional<QString> storedText(Field field, const QString &typed)
{
    if (of(field).shape != Shape::Number)
        return typed;
    if (!holds(field, typed))
        return std::nullopt;
    return typed == QLatin1String("0") ? QString() : typed;
}

} // namespace Fields
