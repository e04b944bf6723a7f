#pragma once

#include <QTableWidget>

class QLabel;

// The media table: one row per MP3 file. Handles Delete and the arrow keys
// itself; every other key is ignored, so typing never starts an edit.
class MediaFileTableWidget : public QTableWidget
{
    Q_OBJECT

public:
    explicit MediaFileTableWidget(QWidget *parent = nullptr);

    int columnOf(const QString &key) const;
    QString locationOf(int row) const;

    // A cover cell's label: no frame of its own, the picture at its own size
    // from the top-left corner. blueBorder marks a changed or selected cover.
    QLabel *installCoverLabel(int row, const QPixmap &pixmap, bool blueBorder);

signals:
    void listEmptyOrNot(bool z);
    void coverArtDeleted(bool a);
    void delButtonClicked();
    void deletionCompleted();
    // Which row's cover Delete emptied, and which file left the list.
    void coverCleared(int row);
    void rowRemoved(const QString &location);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void deleteSelection();
    void clearSelectedCells(const QModelIndexList &indexes);
    void removeRows(const QModelIndexList &rows);
    void moveCurrent(int rowStep, int columnStep);
};
