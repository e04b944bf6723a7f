#include "common/testmain.h"
#include "table/tablefixture.h"
#include "widgets/processingbox.h"

#include "table/coverartdisplaybox.h"

using namespace TableFixture;

namespace {

// File i: its own title and a cover of its own colour.
QColor colourOf(int file)
{
    return QColor::fromHsv((file * 37) % 360, 220, 220);
}

QString makeCovered(const QString &dir, int file)
{
    return makeTrack(dir, QStringLiteral("%1.mp3").arg(file, 4, 10, QLatin1Char('0')),
                     QStringLiteral("Track %1").arg(file, 4, 10, QLatin1Char('0')), QStringLiteral("Artist"),
                     F::encode(F::image(64, 64, colourOf(file))));
}

QColor centre(const QImage &image)
{
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

QColor shownColour(const AddMediaFileWidget &widget, int row)
{
    const QLabel *label = coverLabel(widget, row);
    return label ? centre(label->pixmap(Qt::ReturnByValue).toImage()) : QColor();
}

void scrollTo(PopulatedTable &t, int file)
{
    t.widget.table()->scrollToItem(t.widget.table()->item(t.row(file), 0));
}

} // namespace

// A long list holds labels and pictures only for the rows on screen; every
// other use of a cover finds the right picture all the same.
class TestCoverDisplay : public QObject
{
    Q_OBJECT

    static constexpr int kFiles = 150;
    static constexpr int kFar = 140; // far below the first screen

private slots:
    void rowsGetTheirPicturesAsTheyComeIntoView()
    {
        PopulatedTable t(kFiles, makeCovered);
        QVERIFY(t.listAndShow() && t.coversShown());
        QVERIFY(near(shownColour(t.widget, t.row(0)), colourOf(0)));
        QVERIFY(!coverLabel(t.widget, t.row(kFar)));

        scrollTo(t, kFar);
        QVERIFY(t.coversShown());
        QVERIFY(near(shownColour(t.widget, t.row(kFar)), colourOf(kFar)));
        QVERIFY(!coverLabel(t.widget, t.row(0))); // far away now: its label went
    }

    void copyAndTheCoverBoxServeRowsOutOfView()
    {
        PopulatedTable t(kFiles, makeCovered);
        QVERIFY(t.listAndShow() && t.coversShown());
        QTableWidget *table = t.widget.table();
        const int coverColumn = column(t.widget, QStringLiteral("CoverArt"));
        table->setCurrentCell(t.row(kFar), coverColumn, QItemSelectionModel::ClearAndSelect);
        table->scrollToTop();
        t.widget.copyActionFired();
        table->setCurrentCell(t.row(0), coverColumn, QItemSelectionModel::ClearAndSelect);
        t.widget.pasteActionFired();
        QVERIFY(near(shownColour(t.widget, t.row(0)), colourOf(kFar)));

        QImage inBox;
        QTimer::singleShot(0, &t.widget, [&inBox] {
            if (auto *box = qobject_cast<CoverArtDisplayBox *>(QApplication::activeModalWidget())) {
                inBox = box->shownImage();
                box->reject();
            }
        });
        t.widget.doubleClickedOnCell(t.row(kFar + 1), coverColumn);
        QVERIFY(near(centre(inBox), colourOf(kFar + 1)));
    }

    void replacedCoverOutlivesScrollingAndIsSaved()
    {
        PopulatedTable t(kFiles, makeCovered);
        QVERIFY(t.listAndShow() && t.coversShown());
        t.widget.replaceCover(t.row(0), F::image(80, 80, Qt::green));
        scrollTo(t, kFiles - 1);
        QVERIFY(t.coversShown());
        QVERIFY(!coverLabel(t.widget, t.row(0)));
        t.widget.table()->scrollToTop();
        QVERIFY(t.coversShown());
        QVERIFY(near(shownColour(t.widget, t.row(0)), Qt::green));

        t.widget.initiateSaveChanges();
        QVERIFY(near(centre(TagReaderAndWriter::readCoverArt(t.paths.at(0))), Qt::green));
        QVERIFY(near(centre(TagReaderAndWriter::readCoverArt(t.paths.at(1))), colourOf(1)));
    }

    // A selected cover's border belongs to the row: it is back when the row
    // returns to the screen with a new label.
    void bordersOutliveScrolling()
    {
        PopulatedTable t(kFiles, makeCovered);
        QVERIFY(t.listAndShow() && t.coversShown());
        QTableWidget *table = t.widget.table();
        table->setCurrentCell(t.row(1), column(t.widget, QStringLiteral("CoverArt")), QItemSelectionModel::ClearAndSelect);
        QCOMPARE(coverLabel(t.widget, t.row(1))->styleSheet(), QStringLiteral("border: 2px solid blue"));
        scrollTo(t, kFiles - 1);
        QVERIFY(t.coversShown());
        QVERIFY(!coverLabel(t.widget, t.row(1)));
        table->scrollToTop();
        QVERIFY(t.coversShown());
        QCOMPARE(coverLabel(t.widget, t.row(1))->styleSheet(), QStringLiteral("border: 2px solid blue"));
        QVERIFY(coverLabel(t.widget, t.row(2))->styleSheet().isEmpty());
    }

    // Stop asked for before the reading began: the rows read by the first
    // check stay whole, and adding again lists the rest once.
    void stoppingAnAddKeepsTheRowsReadSoFar()
    {
        PopulatedTable t(600, [](const QString &dir, int file) {
            return makeTrack(dir, QStringLiteral("%1.mp3").arg(file, 4, 10, QLatin1Char('0')),
                             QStringLiteral("Track %1").arg(file), QStringLiteral("Artist"));
        });
        QVERIFY(t.made() && t.show());
        QTimer::singleShot(0, &t.widget, [] {
            if (auto *box = qobject_cast<ProcessingBox *>(QApplication::activeModalWidget()))
                QTest::keyClick(box, Qt::Key_Escape);
        });
        t.widget.getMediaList(t.paths);

        const int rows = t.widget.table()->rowCount();
        QVERIFY2(rows > 0 && rows <= 256, qPrintable(QString::number(rows)));
        QStringList listed = columnTexts(t.widget, QStringLiteral("Location"));
        listed.sort();
        QCOMPARE(listed, t.paths.mid(0, rows));
        for (int r = 0; r < rows; ++r)
            QCOMPARE(cell(t.widget, r, QStringLiteral("Title")), TagReaderAndWriter::readTitle(location(t.widget, r)));
        QCOMPARE(t.widget.records().unlisted(t.paths).size(), 600 - rows);

        t.widget.getMediaList(t.paths);
        listed = columnTexts(t.widget, QStringLiteral("Location"));
        listed.sort();
        QCOMPARE(listed, t.paths);
    }
};

SONVEL_TEST_MAIN(TestCoverDisplay)
#include "tst_coverdisplay.moc"
