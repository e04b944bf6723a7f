#include "table/renamepreview.h"

#include "operations/filenamepattern.h"
#include "operations/filenamerules.h"
#include "tags/audioformat.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace RenamePreview {

int Preview::changing() const
{
    return int(std::count_if(rows.cbegin(), rows.cend(), [](const PreviewRow &row) { return row.changes(); }));
}

namespace {

// The names the pass will find taken: those on disk, less the ones earlier
// renames free, plus the ones they take.
class FolderNames
{
public:
    bool taken(const QString &path) const
    {
        return m_claimed.contains(path) || (!m_freed.contains(path) && QFileInfo::exists(path));
    }
    void move(const QString &from, const QString &to)
    {
        m_claimed.remove(from);
        m_freed.insert(from);
        m_freed.remove(to);
        m_claimed.insert(to);
    }

private:
    QSet<QString> m_claimed;
    QSet<QString> m_freed;
};

QStringList valuesOf(const RowTexts &row, const QStringList &tags)
{
    QStringList values;
    for (const QString &tag : tags) {
        const auto cell = row.cells.constFind(tag);
        if (cell != row.cells.cend())
            values.append(*cell);
    }
    return values;
}

} // namespace

Preview renames(const QVector<RowTexts> &rows, const QStringList &tags, const QString &separator)
{
    Preview preview;
    FolderNames names;
    for (const RowTexts &row : rows) {
        PreviewRow shown{row.location, row.fileName, {row.fileName}, {QString()}, Skip::None};
        const QStringList values = valuesOf(row, tags);
        const FileNamePattern::BaseName base = FileNamePattern::baseNameFromValues(values, separator, tags.size());
        const FileNameRules::RenameTarget target = FileNameRules::targetForBaseName(row.location, base.text);
        if (base.problem == FileNamePattern::NameProblem::MissingValue) {
            shown.skip = Skip::MissingValue;
        } else if (!target.ok) {
            // The refused name itself says best what is wrong with it.
            shown.after = QStringList{values.join(separator) + AudioFormats::extensionOf(row.fileName)};
            shown.skip = Skip::NameRefused;
        } else if (target.path == row.location) {
            continue;
        } else {
            shown.after = QStringList{QFileInfo(target.path).fileName()};
            if (!QFileInfo(row.location).isFile())
                shown.skip = Skip::FileGone;
            else if (names.taken(target.path))
                shown.skip = Skip::NameTaken;
            else
                names.move(row.location, target.path);
        }
        preview.rows.append(shown);
    }
    return preview;
}

Preview tagsFromNames(const QVector<RowTexts> &rows, const QStringList &tags, const QString &separator)
{
    Preview preview;
    preview.kind = Kind::TagsFromNames;
    for (const QString &tag : tags) {
        if (!preview.columns.contains(tag))
            preview.columns.append(tag);
    }
    for (const RowTexts &row : rows) {
        PreviewRow shown{row.location, row.fileName, {}, {}, Skip::None};
        for (const QString &tag : qAsConst(preview.columns))
            shown.before.append(row.cells.value(tag));
        shown.after = shown.before;
        const auto values = FileNamePattern::valuesFromFileName(row.fileName, tags, separator);
        for (const auto &value : values) {
            // A tag the table has no column for cannot be filled.
            if (row.cells.contains(value.first))
                shown.after[preview.columns.indexOf(value.first)] = value.second;
        }
        if (values.isEmpty())
            shown.skip = Skip::NameUnmatched;
        else if (shown.after == shown.before)
            continue;
        preview.rows.append(shown);
    }
    return preview;
}

} // namespace RenamePreview
