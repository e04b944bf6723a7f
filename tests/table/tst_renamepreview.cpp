#include "common/testmain.h"
#include "table/tablefixture.h"
#include "table/tableundo.h"
#include "widgets/previewdialog.h"

#include <QPushButton>
#include <QTableWidget>

using namespace TableFixture;
using RenamePreview::Kind;
using RenamePreview::Preview;
using RenamePreview::PreviewRow;
using RenamePreview::Skip;

namespace {

const QStringList kSkips = {"", "missing", "refused", "taken", "gone", "unmatched"};

// "name: after, after [why]" for each row a preview lists.
QStringList describe(const Preview &preview)
{
    QStringList rows;
    for (const PreviewRow &row : preview.rows) {
        rows << row.fileName + QStringLiteral(": ") + row.after.join(QStringLiteral(", "))
                + (row.changes() ? QString() : QStringLiteral(" [%1]").arg(kSkips.at(int(row.skip))));
    }
    return rows;
}

// Real files made from "name|artist|title", whose previews are answered here
// instead of by the dialog.
class PreviewedTable : public PopulatedTable
{
public:
    explicit PreviewedTable(const QStringList &files)
        : PopulatedTable(files.size(), [&files](const QString &dir, int i) {
            const QStringList parts = files.at(i).split(QLatin1Char('|'));
            return makeTrack(dir, parts.at(0), parts.at(2), parts.at(1));
        })
    {
        PreviewDialog::ask = [this](const Preview &preview, QWidget *) {
            previews << preview;
            return answer;
        };
    }
    ~PreviewedTable() { PreviewDialog::ask = m_dialog; }

    void run(const QString &operation, QStringList tags, const QString &separator)
    {
        if (operation == QLatin1String("rename"))
            widget.getTagsAndSepToRename(tags, separator);
        else
            widget.getTagListAndSep_To_FetchFromFile(tags, separator);
    }
    // Each row's name, artist and title, and the folder's files.
    QStringList state() const
    {
        QStringList rows = filesIn(dir.path());
        for (int r = 0; r < widget.table()->rowCount(); ++r) {
            rows << QStringList{TableFixture::cell(widget, r, "FileName"), TableFixture::cell(widget, r, "Artist"),
                                TableFixture::cell(widget, r, "Title")}
                        .join(QLatin1Char('|'));
        }
        return rows;
    }
    int steps() const { return widget.history()->stack().count(); }

    QList<Preview> previews;
    bool answer = true;

private:
    const PreviewDialog::Ask m_dialog = PreviewDialog::ask;
};

// Whether the table shows what each changing row of the preview said.
bool showsPreview(const PreviewedTable &t, const Preview &preview)
{
    for (const PreviewRow &row : preview.rows) {
        if (!row.changes())
            continue;
        const QString path = QFileInfo(row.location).absolutePath() + QLatin1Char('/') + row.after.first();
        const int r = preview.kind == Kind::RenameFiles ? rowOf(t.widget, path) : rowOf(t.widget, row.location);
        if (r < 0 || (preview.kind == Kind::RenameFiles && !QFileInfo::exists(path)))
            return false;
        for (int i = 0; i < preview.columns.size(); ++i) {
            if (cell(t.widget, r, preview.columns.at(i)) != row.after.at(i))
                return false;
        }
    }
    return true;
}

} // namespace

class TestRenamePreview : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { closeNotifications(); }
    void passDoesWhatThePreviewShows_data();
    void passDoesWhatThePreviewShows();
    void dialogShowsEachRow_data();
    void dialogShowsEachRow();
    void dialogAnswers_data();
    void dialogAnswers();
};

void TestRenamePreview::passDoesWhatThePreviewShows_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("files");   // "name|artist|title", listed in this order
    QTest::addColumn<QStringList>("unlisted"); // names in the folder, not listed
    QTest::addColumn<QStringList>("removed");  // listed, then deleted
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("sep");
    QTest::addColumn<bool>("goOn");            // the answer to the preview
    QTest::addColumn<QStringList>("expected"); // see describe(); none: nothing to ask

    const QStringList at = {"Artist", "Title"};
    const QStringList none;
    QTest::newRow("rename: each row") << "rename" << QStringList{"a.mp3|Air|Venus", "b.mp3|Bo|Kiwi"} << none
                                      << none << at << "-" << true
                                      << QStringList{"a.mp3: Air-Venus.mp3", "b.mp3: Bo-Kiwi.mp3"};
    QTest::newRow("rename: unchanged rows left out")
        << "rename" << QStringList{"Air-Venus.mp3|Air|Venus", "b.mp3|Bo|Kiwi"} << none << none << at << "-"
        << true << QStringList{"b.mp3: Bo-Kiwi.mp3"};
    QTest::newRow("rename: nothing to do") << "rename" << QStringList{"Air-Venus.mp3|Air|Venus"} << none << none
                                           << at << "-" << true << none;
    QTest::newRow("rename: a tag without a value")
        << "rename" << QStringList{"a.mp3|Air|Venus", "b.mp3|AC/DC|Kiwi"} << none << none
        << QStringList{"Artist", "Composer"} << "_"
        << true << QStringList{"a.mp3:  [missing]", "b.mp3:  [missing]"};
    QTest::newRow("rename: refused name shown") << "rename" << QStringList{"b.mp3|AC/DC|Kiwi"} << none << none
                                                << at << "-" << true
                                                << QStringList{"b.mp3: AC/DC-Kiwi.mp3 [refused]"};
    QTest::newRow("rename: taken by an earlier row, by an unlisted file")
        << "rename" << QStringList{"a.mp3|Air|Venus", "b.mp3|Air|Venus", "c.mp3|Bo|Kiwi"}
        << QStringList{"Bo-Kiwi.mp3"} << none << at << "-"
        << true
        << QStringList{"a.mp3: Air-Venus.mp3", "b.mp3: Air-Venus.mp3 [taken]", "c.mp3: Bo-Kiwi.mp3 [taken]"};
    QTest::newRow("rename: a name freed by an earlier row")
        << "rename" << QStringList{"b.mp3|x|c", "a.mp3|x|b"} << none << none << QStringList{"Title"} << "-"
        << true << QStringList{"b.mp3: c.mp3", "a.mp3: b.mp3"};
    QTest::newRow("rename: a name not freed yet")
        << "rename" << QStringList{"a.mp3|x|b", "b.mp3|x|c"} << none << none << QStringList{"Title"} << "-"
        << true << QStringList{"a.mp3: b.mp3 [taken]", "b.mp3: c.mp3"};
    QTest::newRow("rename: file gone") << "rename" << QStringList{"a.mp3|Air|Venus", "b.mp3|Bo|Kiwi"} << none
                                       << QStringList{"a.mp3"} << at << "-" << true
                                       << QStringList{"a.mp3: Air-Venus.mp3 [gone]", "b.mp3: Bo-Kiwi.mp3"};

    QTest::newRow("rename: cancelled") << "rename" << QStringList{"a.mp3|Air|Venus"} << none << none << at << "-"
                                       << false << QStringList{"a.mp3: Air-Venus.mp3"};
    QTest::newRow("fetch: values trimmed")
        << "fetch" << QStringList{"Air - Venus .mp3|Old A|Old T", "Bo_Kiwi.mp3|Old A|Old T"} << none << none << at
        << "-" << true << QStringList{"Air - Venus .mp3: Air, Venus", "Bo_Kiwi.mp3: Old A, Old T [unmatched]"};
    QTest::newRow("fetch: a tag the name does not give keeps its text")
        << "fetch" << QStringList{"Air - .mp3|Old A|Old T"} << none << none << at << "-"
        << true << QStringList{"Air - .mp3: Air, Old T"};
    QTest::newRow("fetch: a repeated tag shown once, the later value")
        << "fetch" << QStringList{"A-B-C.mp3|Old A|Old T"} << none << none << QStringList{"Artist", "Title", "Artist"}
        << "-" << true << QStringList{"A-B-C.mp3: C, B"};
    QTest::newRow("fetch: rows already holding the values left out")
        << "fetch" << QStringList{"Old A-Old T.mp3|Old A|Old T", "Bo-Kiwi.mp3|Old A|Old T"} << none << none << at
        << "-" << true << QStringList{"Bo-Kiwi.mp3: Bo, Kiwi"};
    QTest::newRow("fetch: cancelled") << "fetch" << QStringList{"Air-Venus.mp3|Old A|Old T"} << none << none << at
                                      << "-" << false << QStringList{"Air-Venus.mp3: Air, Venus"};
    QTest::newRow("fetch: nothing to do") << "fetch" << QStringList{"Old A-Old T.mp3|Old A|Old T"} << none << none
                                          << at << "-" << true << none;
}

// Going ahead changes exactly the rows listed as changing, in one undo step;
// cancelling changes nothing at all.
void TestRenamePreview::passDoesWhatThePreviewShows()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, files);
    QFETCH(QStringList, unlisted);
    QFETCH(QStringList, removed);
    QFETCH(QStringList, tags);
    QFETCH(QString, sep);
    QFETCH(bool, goOn);
    QFETCH(QStringList, expected);
    PreviewedTable t(files);
    for (const QString &name : unlisted)
        QVERIFY(!makeTrack(t.dir.path(), name, "Other", "Other").isEmpty());
    QVERIFY(t.list() && t.edit(0, "Album", "Typed"));
    for (const QString &name : removed)
        QVERIFY(QFile::remove(t.filePath(name)));
    const QStringList before = t.state();
    const QStringList recorded = t.recorded();
    closeNotifications();
    t.answer = goOn;

    t.run(operation, tags, sep);

    QCOMPARE(t.previews.size(), expected.isEmpty() ? 0 : 1);
    const bool changed = !expected.isEmpty() && goOn && t.previews.first().changing() > 0;
    if (!changed) {
        QCOMPARE(t.state(), before);
        QCOMPARE(t.recorded(), recorded);
        QCOMPARE(t.steps(), 1);
        if (!goOn)
            QVERIFY(liveNotifications().isEmpty());
        if (expected.isEmpty())
            QCOMPARE(notificationKind(liveNotifications().value(0)), int(Info));
        else
            QCOMPARE(describe(t.previews.first()), expected);
        return;
    }
    const Preview &preview = t.previews.first();
    QCOMPARE(describe(preview), expected);
    QVERIFY(showsPreview(t, preview));
    QVERIFY(t.state() != before);
    QCOMPARE(t.steps(), 2);
    // Rows keep their places; renamed files keep their bytes.
    for (int i = 0; i < t.paths.size(); ++i) {
        if (!removed.contains(QFileInfo(t.paths.at(i)).fileName()))
            QCOMPARE(F::hash(location(t.widget, i)), t.hashes.at(i));
    }

    t.widget.history()->undo();
    QCOMPARE(t.state(), before);
}

void TestRenamePreview::dialogShowsEachRow_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("rows");    // "file>before,before>after,after>skip"
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("cells");   // per row, "|"-joined; "~" marks grey text
    QTest::addColumn<bool>("canAccept");

    QTest::newRow("renames, one refused")
        << int(Kind::RenameFiles) << QStringList{"a.mp3>a.mp3>Air-Venus.mp3>0", "b.mp3>b.mp3>Air-Venus.mp3>3"}
        << QStringList{"Current name", "New name", "Left as it is because"}
        << QStringList{"a.mp3|Air-Venus.mp3|", "~b.mp3|~Air-Venus.mp3|the name is already taken"} << true;
    QTest::newRow("renames, none refused") << int(Kind::RenameFiles) << QStringList{"a.mp3>a.mp3>Air.mp3>0"}
                                           << QStringList{"Current name", "New name"}
                                           << QStringList{"a.mp3|Air.mp3"} << true;
    QTest::newRow("tags, an unchanged value grey")
        << int(Kind::TagsFromNames) << QStringList{"Air-.mp3>Old,T>Air,T>0"}
        << QStringList{"File name", "Artist", "Title"}
        << QStringList{"Air-.mp3|Air|~T"} << true;
    QTest::newRow("tags, nothing would change")
        << int(Kind::TagsFromNames) << QStringList{"x.mp3>A,T>A,T>5"}
        << QStringList{"File name", "Artist", "Title", "Left as it is because"}
        << QStringList{"~x.mp3|~A|~T|the name does not fit the pattern"} << false;
}

void TestRenamePreview::dialogShowsEachRow()
{
    QFETCH(int, kind);
    QFETCH(QStringList, rows);
    Preview preview;
    preview.kind = Kind(kind);
    if (preview.kind == Kind::TagsFromNames)
        preview.columns = QStringList{"Artist", "Title"};
    for (const QString &row : rows) {
        const QStringList parts = row.split('>');
        preview.rows.append({"/music/" + parts.at(0), parts.at(0), parts.at(1).split(','), parts.at(2).split(','),
                             Skip(parts.at(3).toInt())});
    }
    PreviewDialog dialog(preview);
    const auto *table = dialog.findChild<QTableWidget *>("previewTable");
    QVERIFY(table);

    QStringList headers;
    for (int c = 0; c < table->columnCount(); ++c)
        headers << table->horizontalHeaderItem(c)->text();
    QTEST(headers, "headers");
    QStringList cells;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList texts;
        for (int c = 0; c < table->columnCount(); ++c) {
            const QTableWidgetItem *item = table->item(r, c);
            const bool grey = item->foreground().color() == QColor(Qt::gray);
            texts << (grey ? QStringLiteral("~") : QString()) + item->text();
        }
        cells << texts.join('|');
    }
    QTEST(cells, "cells");
    QTEST(!dialog.findChild<QPushButton *>("acceptButton")->isHidden(), "canAccept");
}

void TestRenamePreview::dialogAnswers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("goesOn");
    QTest::newRow("accept") << "acceptButton" << true;
    QTest::newRow("cancel") << "cancelButton" << false;
}

// The default answer comes from the dialog itself.
void TestRenamePreview::dialogAnswers()
{
    QFETCH(QString, button);
    Preview preview;
    preview.rows.append({"/music/a.mp3", "a.mp3", {"a.mp3"}, {"b.mp3"}, Skip::None});
    QString title;
    QTimer::singleShot(0, this, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        title = dialog->findChild<QLabel *>("titleLabel")->text();
        QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
    });
    QTEST(PreviewDialog::ask(preview, nullptr), "goesOn");
    QCOMPARE(title, QStringLiteral("Rename Files"));
}

SONVEL_TEST_MAIN(TestRenamePreview)
#include "tst_renamepreview.moc"
