#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QTimer>
#include <QWidget>

class MediaFileTableWidget;
class QLabel;
class QLineEdit;
class QPushButton;

// The side panel for the selected rows: a field per tag column and the
// cover. One row shows its values; several show each value they share, or
// an empty field with "<different values>" that leaves them as they are.
// Enter, or leaving a field the user changed, asks for the value on every
// selected row; the owner makes it one undoable step. It follows the table
// (selection, edits, sorting, undo, saving, removal) on the next turn of the
// event loop, so a pass over thousands of cells refreshes it once.
class SelectionPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SelectionPanel(MediaFileTableWidget *table, QWidget *parent = nullptr);

    // The selected rows, top to bottom.
    QList<int> selectedRows() const;
    QLineEdit *field(const QString &key) const { return m_fields.value(key); }
    // What the cover box shows: the shared picture, or null.
    QImage shownCover() const { return m_cover; }
    QString coverText() const;

    // Chooses a picture file for the selection's covers; tests swap it.
    static std::function<QString(QWidget *parent)> choosePictureFile;

signals:
    void fieldSet(const QString &key, const QString &text, const QList<int> &rows);
    // A null picture removes the covers.
    void coverSet(const QImage &picture, const QList<int> &rows);

public slots:
    void scheduleRefresh() { m_refresh.start(); }
    void refresh();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void commit(const QString &key);
    void refreshCover(const QList<int> &rows);
    void setPicture(const QImage &picture);

    MediaFileTableWidget *m_table;
    QMap<QString, QLineEdit *> m_fields;
    QMap<QString, QString> m_shown; // key -> the value shown, or a null string where rows differ
    QLabel *m_coverBox;
    QPushButton *m_chooseButton;
    QPushButton *m_removeButton;
    QImage m_cover;
    QTimer m_refresh;
};
