#include "tags/tagcolumns.h"

#include <functional>

namespace TagColumns {

const QVector<Column> &all()
{
    static const QVector<Column> columns = {
        {QStringLiteral("Title"), Kind::Text, PanelBox::Checked, true},
        {QStringLiteral("Artist"), Kind::Text, PanelBox::Checked, true},
        {QStringLiteral("FileName"), Kind::FileName, PanelBox::None, false},
        {QStringLiteral("Album"), Kind::Text, PanelBox::Checked, true},
        {QStringLiteral("Year"), Kind::Text, PanelBox::Hidden, true},
        {QStringLiteral("Comment"), Kind::Text, PanelBox::Checked, true},
        {QStringLiteral("CoverArt"), Kind::Cover, PanelBox::None, false},
        {QStringLiteral("Track"), Kind::Text, PanelBox::SpacesOnly, true},
        {QStringLiteral("Genre"), Kind::Text, PanelBox::Checked, true},
        {QStringLiteral("BPM"), Kind::Text, PanelBox::TextOnly, true},
        {QStringLiteral("Composer"), Kind::Text, PanelBox::Checked, true},
        {QStringLiteral("Grouping"), Kind::Text, PanelBox::Unchecked, true},
        {QStringLiteral("Label"), Kind::Text, PanelBox::Unchecked, true},
        {QStringLiteral("Remixer"), Kind::Text, PanelBox::Unchecked, true},
        {QStringLiteral("InitialKey"), Kind::Text, PanelBox::Hidden, false},
        {QStringLiteral("Location"), Kind::Location, PanelBox::None, false},
    };
    return columns;
}

int count()
{
    return all().size();
}

namespace {

int firstWhere(const std::function<bool(const Column &)> &test)
{
    const QVector<Column> &columns = all();
    for (int i = 0; i < columns.size(); ++i) {
        if (test(columns.at(i)))
            return i;
    }
    return -1;
}

QStringList keysWhere(const std::function<bool(const Column &)> &test)
{
    QStringList list;
    for (const Column &column : all()) {
        if (test(column))
            list << column.key;
    }
    return list;
}

} // namespace

int position(const QString &key)
{
    return firstWhere([&](const Column &column) { return column.key == key; });
}

int position(Kind kind)
{
    Q_ASSERT(kind != Kind::Text);
    return firstWhere([&](const Column &column) { return column.kind == kind; });
}

const QString &key(Kind kind)
{
    return all().at(position(kind)).key;
}

QStringList keys()
{
    return keysWhere([](const Column &) { return true; });
}

const QStringList &textKeys()
{
    static const QStringList list = keysWhere([](const Column &column) { return column.kind == Kind::Text; });
    return list;
}

const QStringList &patternKeys()
{
    static const QStringList list = keysWhere([](const Column &column) { return column.inPatterns; });
    return list;
}

QStringList panelKeys()
{
    const auto extra = [](const Column &column) {
        return column.panel == PanelBox::SpacesOnly || column.panel == PanelBox::Hidden;
    };
    return keysWhere([&](const Column &column) { return column.panel != PanelBox::None && !extra(column); })
        + keysWhere(extra);
}

} // namespace TagColumns
