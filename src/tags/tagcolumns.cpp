#include "tags/tagcolumns.h"

namespace TagColumns {

const QVector<Column> &all()
{
    static const QVector<Column> columns = {
        {QStringLiteral("Title"), Kind::Text, "TIT2", PanelBox::Checked, true},
        {QStringLiteral("Artist"), Kind::Text, "TPE1", PanelBox::Checked, true},
        {QStringLiteral("FileName"), Kind::FileName, nullptr, PanelBox::None, false},
        {QStringLiteral("Album"), Kind::Text, "TALB", PanelBox::Checked, true},
        {QStringLiteral("Year"), Kind::Text, "TDRC", PanelBox::Hidden, true},
        {QStringLiteral("Comment"), Kind::Text, "COMM", PanelBox::Checked, true},
        {QStringLiteral("CoverArt"), Kind::Cover, "APIC", PanelBox::None, false},
        {QStringLiteral("Track"), Kind::Text, "TRCK", PanelBox::SpacesOnly, true},
        {QStringLiteral("Genre"), Kind::Text, "TCON", PanelBox::Checked, true},
        {QStringLiteral("BPM"), Kind::Text, "TBPM", PanelBox::TextOnly, true},
        {QStringLiteral("Composer"), Kind::Text, "TCOM", PanelBox::Checked, true},
        {QStringLiteral("Grouping"), Kind::Text, "TIT1", PanelBox::Unchecked, true},
        {QStringLiteral("Label"), Kind::Text, "TPUB", PanelBox::Unchecked, true},
        {QStringLiteral("Remixer"), Kind::Text, "TPE4", PanelBox::Unchecked, true},
        {QStringLiteral("InitialKey"), Kind::Text, "TKEY", PanelBox::Hidden, false},
        {QStringLiteral("Location"), Kind::Location, nullptr, PanelBox::None, false},
    };
    return columns;
}

int count()
{
    return all().size();
}

int position(const QString &key)
{
    const QVector<Column> &columns = all();
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).key == key)
            return i;
    }
    return -1;
}

int position(Kind kind)
{
    Q_ASSERT(kind != Kind::Text);
    const QVector<Column> &columns = all();
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).kind == kind)
            return i;
    }
    return -1;
}

const QString &key(Kind kind)
{
    return all().at(position(kind)).key;
}

QStringList keys()
{
    QStringList list;
    for (const Column &column : all())
        list << column.key;
    return list;
}

const QStringList &textKeys()
{
    static const QStringList list = [] {
        QStringList text;
        for (const Column &column : all()) {
            if (column.kind == Kind::Text)
                text << column.key;
        }
        return text;
    }();
    return list;
}

const QStringList &patternKeys()
{
    static const QStringList list = [] {
        QStringList names;
        for (const Column &column : all()) {
            if (column.inPatterns)
                names << column.key;
        }
        return names;
    }();
    return list;
}

QStringList panelKeys()
{
    QStringList collected;
    QStringList others;
    for (const Column &column : all()) {
        if (column.panel == PanelBox::SpacesOnly || column.panel == PanelBox::Hidden)
            others << column.key;
        else if (column.panel != PanelBox::None)
            collected << column.key;
    }
    return collected + others;
}

} // namespace TagColumns
