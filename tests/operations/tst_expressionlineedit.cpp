#include "common/testmain.h"
#include "operations/expressionlineedit.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QStringListModel>

class TestExpressionLineEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void offersNamesStartingWithTheWord_data();
    void offersNamesStartingWithTheWord();
    void highlightingReplacesTheWordAndPlacesTheCursor_data();
    void highlightingReplacesTheWordAndPlacesTheCursor();
    void pickingKeepsTheHighlightedCompletion_data();
    void pickingKeepsTheHighlightedCompletion();
    void cursorMovesOnlyOnceAfterACompletion();

private:
    // Types into the field as the user does, with the cursor at cursor.
    void type(const QString &text, int cursor, const QString &keys);

    QWidget *m_window = nullptr;
    ExpressionLineEdit *m_field = nullptr;
};

void TestExpressionLineEdit::init()
{
    m_window = new QWidget;
    m_field = new ExpressionLineEdit(m_window);
    m_field->setSeparator(QStringLiteral("-"));
    m_window->resize(400, 60);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    m_field->setFocus();
}

void TestExpressionLineEdit::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestExpressionLineEdit::type(const QString &text, int cursor, const QString &keys)
{
    m_field->setText(text);
    m_field->setCursorPosition(cursor);
    QTest::keyClicks(m_field, keys);
}

void TestExpressionLineEdit::offersNamesStartingWithTheWord_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("offered");

    QTest::newRow("first word") << "-" << "" << 0 << "Ar" << QStringList{"Artist"};
    QTest::newRow("two names, list order") << "-" << "" << 0 << "T" << QStringList{"Title", "Track"};
    QTest::newRow("lower case offers nothing") << "-" << "" << 0 << "ti" << QStringList();
    QTest::newRow("after a separator") << "-" << "Artist-" << 7 << "Ti" << QStringList{"Title"};
    QTest::newRow("blank after the separator") << "-" << "Artist-" << 7 << " Ti" << QStringList();
    QTest::newRow("word before later parts") << "-" << "-Album" << 0 << "Ti" << QStringList{"Title"};
    QTest::newRow("separator set later is used") << "_" << "Artist_" << 7 << "Co"
                                                 << QStringList{"Comment", "Composer"};
    QTest::newRow("other separator is part of the word") << "-" << "Artist_" << 7 << "Co" << QStringList();
}

void TestExpressionLineEdit::offersNamesStartingWithTheWord()
{
    QFETCH(QString, separator);
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(QString, keys);
    QFETCH(QStringList, offered);
    m_field->setSeparator(separator);

    type(text, cursor, keys);

    QCompleter *completer = m_field->completer();
    QVERIFY(completer);
    QCOMPARE(completer->completionCount(), offered.size());
    QStringList seen;
    for (int row = 0; row < completer->completionCount(); ++row) {
        seen.append(completer->completionModel()->index(row, 0).data().toString());
    }
    QCOMPARE(seen, offered);
    QCOMPARE(completer->popup()->isVisible(), !offered.isEmpty());
}

void TestExpressionLineEdit::highlightingReplacesTheWordAndPlacesTheCursor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("completed");
    QTest::addColumn<int>("newCursor");

    QTest::newRow("Ar|") << "" << 0 << "Ar" << "Artist" << 6;
    QTest::newRow("Artist-Ti|") << "Artist-" << 7 << "Ti" << "Artist-Title" << 12;
    QTest::newRow("Ti|xx-Album") << "xx-Album" << 0 << "Ti" << "Title-Album" << 5;
    QTest::newRow("Artist-Al|-Year") << "Artist--Year" << 7 << "Al" << "Artist-Album-Year" << 12;
    QTest::newRow("Title|") << "" << 0 << "Title" << "Title-" << 5;
}

void TestExpressionLineEdit::highlightingReplacesTheWordAndPlacesTheCursor()
{
    QFETCH(QString, text);
    QFETCH(int, cursor);
    QFETCH(QString, keys);
    type(text, cursor, keys);
    QAbstractItemView *popup = m_field->completer()->popup();
    QVERIFY(popup->isVisible());

    // The arrow key highlights the first entry, which puts it in the field.
    QTest::keyClick(popup, Qt::Key_Down);

    QTEST(m_field->text(), "completed");
    QTEST(m_field->cursorPosition(), "newCursor");
}

void TestExpressionLineEdit::pickingKeepsTheHighlightedCompletion_data()
{
    QTest::addColumn<bool>("mouse"); // picked with a click instead of Down and Return
    QTest::newRow("keyboard") << false;
    QTest::newRow("mouse") << true;
}

// Qt computes the completion again when the highlighted entry is picked; the
// pick must leave the field as the highlight left it. The second pick runs
// after the popup has taken and returned the focus once.
void TestExpressionLineEdit::pickingKeepsTheHighlightedCompletion()
{
    QFETCH(bool, mouse);
    QAbstractItemView *popup = m_field->completer()->popup();
    const auto pickFirst = [&] {
        if (mouse) {
            const QRect first = popup->visualRect(popup->model()->index(0, 0));
            QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, first.center());
        } else {
            QTest::keyClick(popup, Qt::Key_Down);
            QTest::keyClick(popup, Qt::Key_Return);
        }
    };

    QTest::keyClicks(m_field, QStringLiteral("Ar"));
    QVERIFY(popup->isVisible());
    pickFirst();
    QVERIFY(!popup->isVisible());
    QCOMPARE(m_field->text(), QStringLiteral("Artist"));
    QCOMPARE(m_field->cursorPosition(), 6);

    QTest::keyClicks(m_field, QStringLiteral("-Ti"));
    QVERIFY(popup->isVisible());
    pickFirst();
    QCOMPARE(m_field->text(), QStringLiteral("Artist-Title"));
    QCOMPARE(m_field->cursorPosition(), 12);

    // A name typed out in full and then picked gets one separator, with the
    // cursor before it.
    QTest::keyClicks(m_field, QStringLiteral("-Album"));
    QVERIFY(popup->isVisible());
    pickFirst();
    QCOMPARE(m_field->text(), QStringLiteral("Artist-Title-Album-"));
    QCOMPARE(m_field->cursorPosition(), 18);
}

void TestExpressionLineEdit::cursorMovesOnlyOnceAfterACompletion()
{
    type(QStringLiteral("-Album"), 0, QStringLiteral("Ti"));
    QTest::keyClick(m_field->completer()->popup(), Qt::Key_Down);
    QCOMPARE(m_field->cursorPosition(), 5);

    m_field->setCursorPosition(0);
    QCOMPARE(m_field->cursorPosition(), 0);
    m_field->setText(QStringLiteral("Year-Album"));
    QCOMPARE(m_field->cursorPosition(), 10);
}

SONVEL_TEST_MAIN(TestExpressionLineEdit)
#include "tst_expressionlineedit.moc"
