#pragma once

#include <QWidget>

class QListWidget;
class QPage;
class QPushButton;
class QStackedWidget;

// A sidebar of page titles beside the selected page, with a "Close" button
// under the page. List row i and stack index i always belong to one page.
class QPagedWidget : public QWidget
{
    Q_OBJECT

public:
    explicit QPagedWidget(QWidget *parent = nullptr);

    void addPage(const QString &title, QPage *page);
    void setListWidth(int width);
    // Selects the page only when exactly one title matches.
    void selectPage(const QString &title);

signals:
    void sgClose();

public slots:
    void onPageChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void createPageList();
    QPushButton *createCloseButton();

    QListWidget *m_pageList = nullptr;
    QStackedWidget *m_pageStack = nullptr;
};
