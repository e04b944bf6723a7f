#pragma once

#include "table/covercache.h"
#include "table/coverloader.h"

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <functional>
#include <optional>

class QLabel;
class QTableWidget;

// The cover cells of the media table. A cell shows its picture in a label,
// but only rows on screen (and a screen around them) have one: a long list
// holds a few dozen labels and decoded pictures, not one per row. Pictures
// the files hold are decoded off the GUI thread as rows come into view; a
// row whose picture is not ready yet shows an empty cell until it is.
class CoverColumn : public QObject
{
    Q_OBJECT

public:
    // A picture that is not (yet) what the file holds: replaced, or null
    // when cleared; nullopt for the file's own picture.
    using Override = std::function<std::optional<QImage>(const QString &location)>;

    CoverColumn(QTableWidget *table, int column, int locationColumn);

    void setOverride(Override override) { m_override = std::move(override); }
    // Styles each label made (a border the row's cover had before its label
    // went with scrolling).
    void setDecorate(std::function<void(QLabel *, const QString &location)> decorate)
    {
        m_decorate = std::move(decorate);
    }

    // The row's picture wherever the row is: the override, the cached one,
    // or the file's, read now.
    QImage picture(int row);
    // Whether the row's picture is no longer the file's own.
    bool isReplaced(int row) const { return m_override && m_override(locationOf(row)); }
    // Shows picture in the row's cell now (a changed cover, say).
    QLabel *install(int row, const QImage &picture);
    QLabel *label(int row) const;

    // The file was rewritten or left the list: its picture is read again.
    void forget(const QString &location) { m_cache.remove(location); }
    void clear();
    // Waits for nothing: true while rows in view still wait for a picture.
    bool pending() const { return m_refreshTimer.isActive() || !m_waiting.isEmpty(); }
    // Holds reading back while files are rewritten, and drops what was read
    // before; refresh() resumes it.
    void pause();

    // Brings the labels in line with the rows in view, soon.
    void scheduleRefresh() { m_refreshTimer.start(); }
    void refresh();

private:
    void loaded(const QString &path, const QImage &cover);
    // The first and last row of the span that gets labels.
    std::pair<int, int> span() const;
    QString locationOf(int row) const;
    std::optional<QImage> known(const QString &location);

    QTableWidget *m_table;
    const int m_column;
    const int m_locationColumn;
    Override m_override;
    std::function<void(QLabel *, const QString &)> m_decorate;
    CoverCache m_cache;
    CoverLoader m_loader;
    QTimer m_refreshTimer;
    QSet<QString> m_waiting;
    QHash<QLabel *, QPersistentModelIndex> m_labels;
};
