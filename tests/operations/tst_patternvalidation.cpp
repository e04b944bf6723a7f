#include "operations/patternvalidation.h"

#include <QtTest>

class TestPatternValidation : public QObject
{
    Q_OBJECT

private slots:
    void validate_data();
    void validate();
    void completionPrefix_data();
    void completionPrefix();
    void complete_data();
    void complete();
};

void TestPatternValidation::validate_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("rewritten");

    QTest::newRow("text between and around dropped")
        << "Artist - Title (Year)" << "-" << QStringList{"Artist", "Title", "Year"} << "Artist-Title-Year";
    QTest::newRow("order of the pattern, not of the list")
        << "Remixer Album Title" << "-" << QStringList{"Remixer", "Album", "Title"} << "Remixer-Album-Title";
    QTest::newRow("lower case is no tag") << "title-Artist" << "-" << QStringList{"Artist"} << "Artist";
    QTest::newRow("upper case is no tag") << "ARTIST" << "-" << QStringList() << "";
    QTest::newRow("written twice") << "Artist-Artist" << "-" << QStringList{"Artist", "Artist"} << "Artist-Artist";
    QTest::newRow("twice without a gap counts once") << "ArtistArtist" << "-" << QStringList{"Artist"} << "Artist";
    QTest::newRow("short name twice without a gap") << "BPMBPM" << "_" << QStringList{"BPM"} << "BPM";
    QTest::newRow("three copies without gaps, every other found")
        << "TitleTitleTitle" << "-" << QStringList{"Title", "Title"} << "Title-Title";
    QTest::newRow("one character between counts twice")
        << "Album Album" << "+" << QStringList{"Album", "Album"} << "Album+Album";
    QTest::newRow("joined by the given separator")
        << "Track. Title" << "*" << QStringList{"Track", "Title"} << "Track*Title";
    QTest::newRow("names inside words") << "MyLabelsGenres" << "-" << QStringList{"Label", "Genre"} << "Label-Genre";
    QTest::newRow("InitialKey is no pattern tag") << "InitialKey" << "-" << QStringList() << "";
    QTest::newRow("every name")
        << "Title-Artist-Album-Year-Comment-Track-Genre-BPM-Composer-Grouping-Label-Remixer" << "_"
        << QStringList{"Title", "Artist", "Album", "Year", "Comment", "Track", "Genre", "BPM", "Composer",
                       "Grouping", "Label", "Remixer"}
        << "Title_Artist_Album_Year_Comment_Track_Genre_BPM_Composer_Grouping_Label_Remixer";
    QTest::newRow("no tag") << "my song" << "-" << QStringList() << "";
    QTest::newRow("empty") << "" << "-" << QStringList() << "";
}

void TestPatternValidation::validate()
{
    QFETCH(QString, pattern);
    QFETCH(QString, separator);
    const PatternValidation::Result result = PatternValidation::validate(pattern, separator);
    QTEST(result.tags, "tags");
    QTEST(result.pattern, "rewritten");
}

void TestPatternValidation::completionPrefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("prefix");

    QTest::newRow("first word") << "Ar" << 2 << "-" << "Ar";
    QTest::newRow("after a separator") << "Artist-Ti" << 9 << "-" << "Ti";
    QTest::newRow("blank after the separator kept") << "Artist- Ti" << 10 << "-" << " Ti";
    QTest::newRow("blank before the cursor trimmed") << "Artist-Ti " << 10 << "-" << "Ti";
    QTest::newRow("leading blanks of the text trimmed") << "  Ar" << 4 << "-" << "Ar";
    QTest::newRow("only up to the cursor") << "Tixx-Album" << 2 << "-" << "Ti";
    QTest::newRow("cursor inside a later word") << "Artist-Title-Album" << 15 << "-" << "Al";
    QTest::newRow("right after a separator") << "Artist-" << 7 << "-" << "";
    QTest::newRow("other separator is text") << "Artist_Ti" << 9 << "-" << "Artist_Ti";
    QTest::newRow("underscore separator") << "Artist_Ti" << 9 << "_" << "Ti";
    QTest::newRow("separator after the cursor ignored") << "Ti-Artist" << 2 << "-" << "Ti";
    QTest::newRow("empty") << "" << 0 << "-" << "";
}

void TestPatternValidation::completionPrefix()
{
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(QString, separator);
    QTEST(PatternValidation::completionPrefix(text, cursor, separator), "prefix");
}

void TestPatternValidation::complete_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("completed");
    QTest::addColumn<int>("newCursor");

    QTest::newRow("first word") << "Ar" << 2 << "-" << "Artist" << "Artist" << 6;
    QTest::newRow("after a separator") << "Artist-Ti" << 9 << "-" << "Title" << "Artist-Title" << 12;
    QTest::newRow("rest of the word dropped, later parts kept")
        << "Tixx-Album" << 2 << "-" << "Title" << "Title-Album" << 5;
    QTest::newRow("in the middle") << "Artist-Ti-Album" << 9 << "-" << "Title" << "Artist-Title-Album" << 12;
    QTest::newRow("complete word gets a separator") << "Title" << 5 << "-" << "Title" << "Title-" << 5;
    QTest::newRow("complete last word gets a separator")
        << "Artist-Title" << 12 << "-" << "Title" << "Artist-Title-" << 12;
    QTest::newRow("right after a separator") << "Artist-" << 7 << "-" << "Title" << "Artist-Title" << 12;
    QTest::newRow("empty text") << "" << 0 << "-" << "Album" << "Album" << 5;
    QTest::newRow("underscore separator") << "Artist_Co" << 9 << "_" << "Composer" << "Artist_Composer" << 15;
    QTest::newRow("other separator is text") << "Artist_Co" << 9 << "-" << "Composer" << "Composer" << 8;
}

void TestPatternValidation::complete()
{
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(QString, separator);
    QFETCH(QString, name);
    const PatternValidation::Completion completion = PatternValidation::complete(text, cursor, separator, name);
    QTEST(completion.text, "completed");
    QTEST(completion.cursor, "newCursor");
}

QTEST_APPLESS_MAIN(TestPatternValidation)
#include "tst_patternvalidation.moc"
