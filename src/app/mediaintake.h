#pragma once

#include <QObject>
#include <QStringList>

class AddMediaFileWidget;
class QWidget;

// Brings music into the list by every way but the Add Files dialog: files and
// folders dropped anywhere on the window, a picked folder, the command line.
// They are added as Add Files adds them, under the processing overlay.
class MediaIntake : public QObject
{
    Q_OBJECT

public:
    // Watches window for drops; adds through table.
    MediaIntake(QWidget *window, AddMediaFileWidget *table);

    // Adds the MP3 files in the paths (folders searched recursively), sorted
    // by path; says so when other files were skipped or a path does not
    // exist. Returns the paths that do not exist.
    QStringList addPaths(const QStringList &paths);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AddMediaFileWidget *m_table;
};
