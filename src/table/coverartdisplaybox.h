#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

// Shows a cover stretched to 250 x 250 and lets the user pick a new picture
// from disk.
class CoverArtDisplayBox : public QDialog
{
    Q_OBJECT

public:
    explicit CoverArtDisplayBox(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    // The cover stretched to the preview size; a stand-in picture when the
    // cell shows none.
    void setCover(const QPixmap &cover);
    QImage shownImage() const;

    // The file dialog, replaceable so tests need no native dialog.
    using OpenFileDialog = std::function<QString(QWidget *parent, const QString &caption, const QString &dir,
                                                 const QString &filter)>;
    static OpenFileDialog openFileDialog;

    static constexpr int kPreviewSize = 250;

signals:
    void passCoverPicFileLoc(QString &file_location);

public slots:
    void replace_Art_ButtonClicked();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_pictureLabel;
    QPushButton *m_replaceButton;
    QPushButton *m_closeButton;
};
