#pragma once

#include <QTableWidget>

// The media table: one row per MP3 file.
class MediaFileTableWidget : public QTableWidget
{
    Q_OBJECT

public:
    explicit MediaFileTableWidget(QWidget *parent = nullptr);

signals:
    void listEmptyOrNot(bool z);
    void coverArtDeleted(bool a);
    void delButtonClicked();
    void deletionCompleted();
};
