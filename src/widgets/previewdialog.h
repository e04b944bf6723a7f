#pragma once

#include "table/renamepreview.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

// Shows what renaming files from their tags, or filling tags from file names,
// would do, row by row, before anything changes. exec() returns
// QDialog::Accepted only when the action button ("Rename", "Set Tags") was
// pressed; it is not offered when no row would change.
class PreviewDialog : public QDialog
{
    Q_OBJECT

public:
    using Ask = std::function<bool(const RenamePreview::Preview &preview, QWidget *parent)>;
    // Shows the dialog and says whether the user went ahead; tests swap it
    // to answer without one.
    static Ask ask;

    explicit PreviewDialog(const RenamePreview::Preview &preview, QWidget *parent = nullptr);

    static QString reasonText(RenamePreview::Skip skip);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void createTable(const RenamePreview::Preview &preview);
    void fillRow(int row, const RenamePreview::PreviewRow &shown, bool reasonColumn);
    void createButtons(const RenamePreview::Preview &preview);
    void createLayout();

    QLabel *m_titleLabel;
    QLabel *m_summaryLabel;
    QTableWidget *m_table;
    QPushButton *m_acceptButton;
    QPushButton *m_cancelButton;
};
