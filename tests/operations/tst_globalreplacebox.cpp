#include "app/application.h"
#include "common/testmain.h"
#include "operations/expressionlineedit.h"
#include "operations/globalreplacebox.h"
#include "operations/panelmode.h"
#include "theme/geometryprovider.h"
#include "common/notifications.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString columnMessage = QStringLiteral("Select atleast one column to perform operation!");
const QString searchMessage = QStringLiteral("Search box can not be empty. Please enter some text!");
const QString replaceMessage = QStringLiteral("Replace box can not be empty. Please enter some text!");
const QString optionMessage = QStringLiteral("Select an option first to perform operation!");
const QString patternMessage = QStringLiteral("Enter a correct pattern first!");
const QString noTagsMessage = QStringLiteral("Pattern does not conatins valid tags!");
const QString separatorMessage = QStringLiteral("Select a seperator first!");

const QStringList columnKeys = {"Title", "Artist", "Album", "Comment", "Genre", "BPM", "Composer",
                                "Grouping", "Label", "Remixer", "Year", "Track", "InitialKey"};
const QStringList collectedKeys = columnKeys.mid(0, 10);

QStringList childNames()
{
    QStringList names = {"searchLabel", "findField", "separatorBox", "replaceLabel", "replaceField",
                         "patternField", "acceptPatternBox", "capitalizeButton", "upperCaseButton",
                         "lowerCaseButton", "replaceAllButton", "doneButton", "startButton", "validateButton",
                         "renameButton", "columnHeading", "selectAllBox"};
    for (const QString &key : columnKeys)
        names.append(QStringLiteral("column") + key);
    return names;
}

QStringList columnNames(const QStringList &keys)
{
    QStringList names;
    for (const QString &key : keys)
        names.append(QStringLiteral("column") + key);
    return names;
}

// "text|kind" for every notification on screen.
QStringList shownMessages()
{
    QStringList messages;
    for (VrNotification *notification : liveNotifications()) {
        messages.append(notificationText(notification) + QLatin1Char('|')
                        + QString::number(notificationKind(notification)));
    }
    return messages;
}

QStringList message(const QString &text, int kind = Error)
{
    return {text + QLatin1Char('|') + QString::number(kind)};
}

QString emission(const QString &name, const QStringList &args)
{
    return name + QLatin1Char('(') + args.join(QLatin1Char(';')) + QLatin1Char(')');
}

// Every signal of the panel, in the order emitted, as "name(argument;...)".
class SignalRecorder : public QObject
{
public:
    explicit SignalRecorder(GlobalReplaceBox *panel)
    {
        using L = QStringList;
        connect(panel, &GlobalReplaceBox::replaceText, this,
                [this](L &list, QString find, QString with) { add("replaceText", {join(list), find, with}); });
        connect(panel, &GlobalReplaceBox::passFieldToRemoveSpaces, this,
                [this](L &list) { add("passFieldToRemoveSpaces", {join(list)}); });
        connect(panel, &GlobalReplaceBox::passDataToPerformFormatting, this,
                [this](QString option, L &list) { add("passDataToPerformFormatting", {option, join(list)}); });
        connect(panel, &GlobalReplaceBox::passTagsAndSepToRename, this,
                [this](L &list, QString sep) { add("passTagsAndSepToRename", {join(list), sep}); });
        connect(panel, &GlobalReplaceBox::passDataToFetchTags_FromFilename, this,
                [this](L &list, QString sep) { add("passDataToFetchTags_FromFilename", {join(list), sep}); });
    }

    QStringList emissions;

private:
    void add(const char *name, const QStringList &args) { emissions.append(emission(QLatin1String(name), args)); }
    static QString join(const QStringList &list) { return list.join(QLatin1Char(',')); }
};

} // namespace

class TestGlobalReplaceBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void modeShowsItsChildrenAndTexts_data();
    void modeShowsItsChildrenAndTexts();
    void fitsTheMainWindow();
    void invalidModeChangesNothing_data();
    void invalidModeChangesNothing();
    void enteringAPatternModeStartsOver_data();
    void enteringAPatternModeStartsOver();
    void selectAllSetsEveryColumn();
    void operationButtonsCheckAndEmit_data();
    void operationButtonsCheckAndEmit();
    void pickingASeparatorUnlocksThePattern_data();
    void pickingASeparatorUnlocksThePattern();
    void validationFindsTheTags_data();
    void validationFindsTheTags();
    void uncheckingAcceptReturnsToEditing();
    void patternOperationEmitsWithoutAsking_data();
    void patternOperationEmitsWithoutAsking();
    void pressesOnThePatternFieldAreSwallowed_data();
    void pressesOnThePatternFieldAreSwallowed();

private:
    template<typename T>
    T *child(const QString &name) const
    {
        auto *widget = m_panel->findChild<T *>(name);
        if (!widget)
            qFatal("missing child %s", qPrintable(name));
        return widget;
    }
    ExpressionLineEdit *patternField() const { return child<ExpressionLineEdit>(QStringLiteral("patternField")); }
    QStringList visibleChildren() const;
    QStringList checkedColumns() const;
    void setCheckedColumns(const QStringList &keys);
    void pickSeparator(const QString &separator);
    void click(const QString &name);
    // Mode 3 or 4 with the separator picked and pattern validated.
    void acceptPattern(int mode, const QString &separator, const QString &pattern);

    QWidget *m_window = nullptr;
    GlobalReplaceBox *m_panel = nullptr;
};

void TestGlobalReplaceBox::initTestCase()
{
    // As the program does at start-up, before any widget asks for a font.
    QVERIFY(Application::loadFont(QStringLiteral(":/fonts/droid-sans/DroidSans.ttf")));
}

void TestGlobalReplaceBox::init()
{
    m_window = new QWidget;
    m_panel = new GlobalReplaceBox(m_window);
    m_window->resize(1728, m_panel->sizeHint().height());
    m_panel->resize(m_window->size());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestGlobalReplaceBox::cleanup()
{
    delete m_window;
    m_window = nullptr;
    closeNotifications();
}

QStringList TestGlobalReplaceBox::visibleChildren() const
{
    QStringList visible;
    for (const QString &name : childNames()) {
        if (child<QWidget>(name)->isVisibleTo(m_panel))
            visible.append(name);
    }
    return visible;
}

QStringList TestGlobalReplaceBox::checkedColumns() const
{
    QStringList checked;
    for (const QString &key : columnKeys) {
        if (child<QCheckBox>(QStringLiteral("column") + key)->isChecked())
            checked.append(key);
    }
    return checked;
}

void TestGlobalReplaceBox::setCheckedColumns(const QStringList &keys)
{
    for (const QString &key : columnKeys)
        child<QCheckBox>(QStringLiteral("column") + key)->setChecked(keys.contains(key));
}

// Through the popup, as the user picks, so picking the shown item counts too.
void TestGlobalReplaceBox::pickSeparator(const QString &separator)
{
    auto *box = child<QComboBox>(QStringLiteral("separatorBox"));
    box->showPopup();
    QAbstractItemView *view = box->view();
    const QRect item = view->visualRect(view->model()->index(box->findText(separator), 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
    QTRY_VERIFY(!view->isVisible());
}

void TestGlobalReplaceBox::click(const QString &name)
{
    QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton);
}

void TestGlobalReplaceBox::acceptPattern(int mode, const QString &separator, const QString &pattern)
{
    m_panel->setMode(mode);
    pickSeparator(separator);
    patternField()->setText(pattern);
    click(QStringLiteral("validateButton"));
    QVERIFY(child<QCheckBox>(QStringLiteral("acceptPatternBox"))->isChecked());
}

void TestGlobalReplaceBox::modeShowsItsChildrenAndTexts_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("visible");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QString>("replaceText");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("headingToken");
    QTest::addColumn<QString>("headingStyle");
    QTest::addColumn<QString>("placeholder");
    QTest::addColumn<QString>("actionText");

    const QString shownStyle = QStringLiteral("QLabel {color : #2c3e50;}");
    const QString hiddenStyle = QStringLiteral("QLabel {color : #bdc3c7;}");
    const QStringList common = {"Title", "Artist", "Album", "Comment", "Genre", "Composer", "Grouping", "Label",
                                "Remixer"};
    const QStringList patternChildren = {"searchLabel", "separatorBox", "replaceLabel", "patternField",
                                         "validateButton", "columnHeading"};

    QTest::newRow("extra spaces")
        << int(ExtraSpaces)
        << QStringList({"doneButton", "columnHeading", "selectAllBox"}) + columnNames(common + QStringList{"Track"})
        << "Search for:" << "Replace with:" << "Select columns to remove extra spaces:" << "extra" << shownStyle
        << "Enter a renaming pattern" << "Rename";
    QTest::newRow("find and replace")
        << int(FindReplace)
        << QStringList({"searchLabel", "findField", "replaceLabel", "replaceField", "replaceAllButton",
                        "columnHeading", "selectAllBox"})
               + columnNames(common + QStringList{"BPM"})
        << "Find:" << "Replace with:" << "Perform replace inside these columns:" << "replace" << shownStyle
        << "Enter a renaming pattern" << "Rename";
    QTest::newRow("format text")
        << int(FormatText)
        << QStringList({"searchLabel", "capitalizeButton", "upperCaseButton", "lowerCaseButton", "startButton",
                        "columnHeading", "selectAllBox"})
               + columnNames(common + QStringList{"BPM"})
        << "Select an option:" << "Replace with:" << "Format text inside these columns:" << "Format" << shownStyle
        << "Enter a renaming pattern" << "Rename";
    QTest::newRow("rename files") << int(RenameFiles) << patternChildren << "Choose a Seperator:" << "Custom Format:"
                                  << "Rename Files" << "Rename" << hiddenStyle << "Enter a renaming pattern"
                                  << "Rename";
    QTest::newRow("tags from files") << int(TagsFromFiles) << patternChildren << "Choose a Seperator:"
                                     << "Custom Format:" << "Get tags from Files" << "Get tags from" << hiddenStyle
                                     << "Enter a valid pattern" << "Proceed";
}

void TestGlobalReplaceBox::modeShowsItsChildrenAndTexts()
{
    QFETCH(int, mode);
    QFETCH(QStringList, visible);
    QFETCH(QString, headingToken);
    const QStringList checkedBefore = checkedColumns();

    m_panel->setMode(mode);

    QStringList expected;
    for (const QString &name : childNames()) {
        if (visible.contains(name))
            expected.append(name);
    }
    QCOMPARE(visibleChildren(), expected);
    QTEST(child<QLabel>(QStringLiteral("searchLabel"))->text(), "searchText");
    QTEST(child<QLabel>(QStringLiteral("replaceLabel"))->text(), "replaceText");
    QTEST(m_panel->headingText(), "heading");
    QVERIFY(m_panel->headingText().contains(headingToken));
    QTEST(child<QLabel>(QStringLiteral("columnHeading"))->styleSheet(), "headingStyle");
    QTEST(patternField()->placeholderText(), "placeholder");
    QTEST(child<QPushButton>(QStringLiteral("renameButton"))->text(), "actionText");
    QCOMPARE(checkedColumns(), checkedBefore);
}

// The main window opens 1728 pixels wide on a common screen; the strip
// must not force it wider, also at the larger scale of dense screens.
void TestGlobalReplaceBox::fitsTheMainWindow()
{
    QCOMPARE(GeometryProvider::scaleFactor(), 2);
    for (int mode = ExtraSpaces; mode <= KeysAndBpm; ++mode) {
        m_panel->setMode(mode);
        const int width = m_panel->minimumSizeHint().width();
        QVERIFY2(width <= 1728, qPrintable(QStringLiteral("mode %1: %2").arg(mode).arg(width)));
    }
}

void TestGlobalReplaceBox::invalidModeChangesNothing_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("negative") << -1;
    QTest::newRow("one past the last") << 6;
    QTest::newRow("far out") << 42;
}

void TestGlobalReplaceBox::invalidModeChangesNothing()
{
    QFETCH(int, mode);
    m_panel->setMode(RenameFiles);
    pickSeparator(QStringLiteral("+"));
    patternField()->setText(QStringLiteral("Artist+Title"));
    const QStringList visible = visibleChildren();

    m_panel->setMode(mode);

    QCOMPARE(visibleChildren(), visible);
    QCOMPARE(m_panel->headingText(), QStringLiteral("Rename Files"));
    QCOMPARE(patternField()->text(), QStringLiteral("Artist+Title"));
    QVERIFY(patternField()->isEnabled());
    QVERIFY(!child<QComboBox>(QStringLiteral("separatorBox"))->isEnabled());
    QCOMPARE(child<QComboBox>(QStringLiteral("separatorBox"))->currentText(), QStringLiteral("+"));
}

void TestGlobalReplaceBox::enteringAPatternModeStartsOver_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("placeholder");
    QTest::addColumn<QString>("actionText");
    QTest::newRow("rename to tags") << int(RenameFiles) << int(TagsFromFiles) << "Enter a valid pattern" << "Proceed";
    QTest::newRow("tags to rename") << int(TagsFromFiles) << int(RenameFiles) << "Enter a renaming pattern"
                                    << "Rename";
}

void TestGlobalReplaceBox::enteringAPatternModeStartsOver()
{
    QFETCH(int, from);
    QFETCH(int, to);
    acceptPattern(from, QStringLiteral("*"), QStringLiteral("Album Year"));

    m_panel->setMode(to);

    ExpressionLineEdit *field = patternField();
    auto *box = child<QComboBox>(QStringLiteral("separatorBox"));
    auto *accept = child<QCheckBox>(QStringLiteral("acceptPatternBox"));
    QVERIFY(field->text().isEmpty());
    QVERIFY(!field->isEnabled());
    QVERIFY(!field->isReadOnly());
    QTEST(field->placeholderText(), "placeholder");
    QCOMPARE(box->currentIndex(), 0);
    QVERIFY(box->isEnabled());
    QVERIFY(!accept->isChecked());
    QVERIFY(!accept->isVisibleTo(m_panel));
    QVERIFY(child<QPushButton>(QStringLiteral("validateButton"))->isVisibleTo(m_panel));
    QVERIFY(!child<QPushButton>(QStringLiteral("renameButton"))->isVisibleTo(m_panel));
    QTEST(child<QPushButton>(QStringLiteral("renameButton"))->text(), "actionText");
}

void TestGlobalReplaceBox::selectAllSetsEveryColumn()
{
    m_panel->setMode(FindReplace);
    click(QStringLiteral("selectAllBox"));
    QCOMPARE(checkedColumns(), columnKeys);

    // A single column box leaves Select All alone.
    click(QStringLiteral("columnTitle"));
    QVERIFY(child<QCheckBox>(QStringLiteral("selectAllBox"))->isChecked());
    QCOMPARE(checkedColumns(), columnKeys.mid(1));

    click(QStringLiteral("selectAllBox"));
    QVERIFY(checkedColumns().isEmpty());
}

void TestGlobalReplaceBox::operationButtonsCheckAndEmit_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("selectAll"); // else exactly the columns in "checked"
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("option"); // the radio button to check, or none
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("emitted");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("checkedAfter");

    const QString collected = collectedKeys.join(QLatin1Char(','));
    const QStringList none;

    QTest::newRow("replace: Select All never sends the hidden three")
        << int(FindReplace) << true << none << "a" << "b" << "capitalizeButton" << "replaceAllButton"
        << QStringList{emission("replaceText", {collected, "a", "b"})} << none << collectedKeys;
    QTest::newRow("replace: no column")
        << int(FindReplace) << false << none << "a" << "b" << "capitalizeButton" << "replaceAllButton" << none
        << message(columnMessage) << none;
    QTest::newRow("replace: only the hidden three")
        << int(FindReplace) << false << QStringList{"Year", "Track", "InitialKey"} << "a" << "b"
        << "capitalizeButton" << "replaceAllButton" << none << message(columnMessage) << none;
    QTest::newRow("replace: columns are checked before the find text")
        << int(FindReplace) << false << none << "" << "" << "capitalizeButton" << "replaceAllButton" << none
        << message(columnMessage) << none;
    QTest::newRow("replace: empty find text")
        << int(FindReplace) << false << QStringList{"Title"} << "" << "b" << "capitalizeButton"
        << "replaceAllButton" << none << message(searchMessage) << QStringList{"Title"};
    QTest::newRow("replace: empty replacement")
        << int(FindReplace) << false << QStringList{"Title"} << " " << "" << "capitalizeButton"
        << "replaceAllButton" << none << message(replaceMessage) << QStringList{"Title"};
    QTest::newRow("replace: a blank is a find text")
        << int(FindReplace) << false << QStringList{"Title", "BPM"} << " " << "x" << "capitalizeButton"
        << "replaceAllButton" << QStringList{emission("replaceText", {"Title,BPM", " ", "x"})} << none
        << QStringList{"Title", "BPM"};
    QTest::newRow("done: Select All sends Track, not BPM")
        << int(ExtraSpaces) << true << none << "" << "" << "capitalizeButton" << "doneButton"
        << QStringList{emission("passFieldToRemoveSpaces",
                                {"Title,Artist,Album,Comment,Genre,Composer,Grouping,Label,Remixer,Track"})}
        << none
        << QStringList{"Title", "Artist", "Album", "Comment", "Genre", "Composer", "Grouping", "Label", "Remixer",
                       "Track"};
    QTest::newRow("done: Track alone")
        << int(ExtraSpaces) << false << QStringList{"Track"} << "" << "" << "capitalizeButton" << "doneButton"
        << QStringList{emission("passFieldToRemoveSpaces", {"Track"})} << none << QStringList{"Track"};
    QTest::newRow("done: BPM and Year are no columns here")
        << int(ExtraSpaces) << false << QStringList{"BPM", "Year", "InitialKey"} << "" << "" << "capitalizeButton"
        << "doneButton" << none << message(columnMessage) << none;
    QTest::newRow("start: columns are checked before the option")
        << int(FormatText) << false << none << "" << "" << "" << "startButton" << none << message(columnMessage)
        << none;
    QTest::newRow("start: no option")
        << int(FormatText) << false << QStringList{"Title"} << "" << "" << "" << "startButton" << none
        << message(optionMessage) << QStringList{"Title"};
    QTest::newRow("start: upper case")
        << int(FormatText) << false << QStringList{"Genre", "Title", "Track"} << "" << "" << "upperCaseButton"
        << "startButton" << QStringList{emission("passDataToPerformFormatting", {"Upper Case", "Title,Genre"})}
        << none << QStringList{"Title", "Genre"};
    QTest::newRow("start: Select All")
        << int(FormatText) << true << none << "" << "" << "lowerCaseButton" << "startButton"
        << QStringList{emission("passDataToPerformFormatting", {"Lower Case", collected})} << none << collectedKeys;
}

void TestGlobalReplaceBox::operationButtonsCheckAndEmit()
{
    QFETCH(int, mode);
    QFETCH(bool, selectAll);
    QFETCH(QStringList, checked);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(QString, option);
    QFETCH(QString, button);
    m_panel->setMode(mode);
    if (selectAll)
        child<QCheckBox>(QStringLiteral("selectAllBox"))->setChecked(true);
    else
        setCheckedColumns(checked);
    child<QLineEdit>(QStringLiteral("findField"))->setText(find);
    child<QLineEdit>(QStringLiteral("replaceField"))->setText(replacement);
    for (const char *name : {"capitalizeButton", "upperCaseButton", "lowerCaseButton"}) {
        auto *radio = child<QRadioButton>(QLatin1String(name));
        // A checked auto-exclusive button cannot be unchecked directly.
        radio->setAutoExclusive(false);
        radio->setChecked(option == QLatin1String(name));
        radio->setAutoExclusive(true);
    }
    SignalRecorder recorder(m_panel);

    click(button);

    QTEST(recorder.emissions, "emitted");
    QTEST(shownMessages(), "messages");
    QTEST(checkedColumns(), "checkedAfter");
}

void TestGlobalReplaceBox::pickingASeparatorUnlocksThePattern_data()
{
    QTest::addColumn<QString>("separator");
    QTest::newRow("the shown one") << "-";
    QTest::newRow("another one") << "_";
}

void TestGlobalReplaceBox::pickingASeparatorUnlocksThePattern()
{
    QFETCH(QString, separator);
    m_panel->setMode(TagsFromFiles);
    auto *box = child<QComboBox>(QStringLiteral("separatorBox"));
    QVERIFY(!patternField()->isEnabled());
    QVERIFY(box->isEnabled());

    pickSeparator(separator);

    QVERIFY(patternField()->isEnabled());
    QVERIFY(!box->isEnabled());
    QCOMPARE(box->currentText(), separator);
    QCOMPARE(patternField()->separator(), separator);
    QVERIFY(shownMessages().isEmpty());
}

void TestGlobalReplaceBox::validationFindsTheTags_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("rewritten");
    QTest::addColumn<QStringList>("messages");

    const QStringList none;
    QTest::newRow("text around the tags dropped")
        << "-" << "Artist - Title (Year)" << QStringList{"Artist", "Title", "Year"} << "Artist-Title-Year" << none;
    QTest::newRow("lower-case name ignored") << "-" << "title-Artist" << QStringList{"Artist"} << "Artist" << none;
    QTest::newRow("no gap counts once") << "-" << "ArtistArtist" << QStringList{"Artist"} << "Artist" << none;
    QTest::newRow("written twice") << "-" << "Artist-Artist" << QStringList{"Artist", "Artist"} << "Artist-Artist"
                                   << none;
    QTest::newRow("picked separator joins") << "_" << "Track Title" << QStringList{"Track", "Title"}
                                            << "Track_Title" << none;
    QTest::newRow("no tag clears the field") << "-" << "my song" << none << "" << message(noTagsMessage);
    QTest::newRow("empty") << "-" << "" << none << "" << message(patternMessage);
}

void TestGlobalReplaceBox::validationFindsTheTags()
{
    QFETCH(QString, separator);
    QFETCH(QString, pattern);
    QFETCH(QStringList, tags);
    m_panel->setMode(RenameFiles);
    pickSeparator(separator);
    patternField()->setText(pattern);

    click(QStringLiteral("validateButton"));

    QCOMPARE(m_panel->patternTags(), tags);
    QTEST(patternField()->text(), "rewritten");
    QTEST(shownMessages(), "messages");
    const bool accepted = !tags.isEmpty();
    auto *accept = child<QCheckBox>(QStringLiteral("acceptPatternBox"));
    QCOMPARE(accept->isVisibleTo(m_panel), accepted);
    QCOMPARE(accept->isChecked(), accepted);
    QCOMPARE(child<QPushButton>(QStringLiteral("validateButton"))->isVisibleTo(m_panel), !accepted);
    QCOMPARE(child<QPushButton>(QStringLiteral("renameButton"))->isVisibleTo(m_panel), accepted);
    QCOMPARE(patternField()->isReadOnly(), accepted);
}

void TestGlobalReplaceBox::uncheckingAcceptReturnsToEditing()
{
    acceptPattern(RenameFiles, QStringLiteral("-"), QStringLiteral("Album Title"));

    click(QStringLiteral("acceptPatternBox"));

    QVERIFY(!child<QCheckBox>(QStringLiteral("acceptPatternBox"))->isVisibleTo(m_panel));
    QVERIFY(child<QPushButton>(QStringLiteral("validateButton"))->isVisibleTo(m_panel));
    QVERIFY(!child<QPushButton>(QStringLiteral("renameButton"))->isVisibleTo(m_panel));
    QVERIFY(!patternField()->isReadOnly());
    QVERIFY(patternField()->isEnabled());
    QCOMPARE(patternField()->text(), QStringLiteral("Album-Title"));
    QCOMPARE(m_panel->patternTags(), QStringList({"Album", "Title"}));

    // The next validation starts from no tags.
    patternField()->clear();
    click(QStringLiteral("validateButton"));
    QVERIFY(m_panel->patternTags().isEmpty());
}

void TestGlobalReplaceBox::patternOperationEmitsWithoutAsking_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("fieldEmptied");
    QTest::addColumn<QStringList>("emitted");
    QTest::addColumn<QStringList>("messages");

    const QStringList none;
    QTest::newRow("rename") << int(RenameFiles) << false
                            << QStringList{emission("passTagsAndSepToRename", {"Artist,Title,Artist", "_"})} << none;
    QTest::newRow("rename without pattern") << int(RenameFiles) << true << none << message(patternMessage);
    QTest::newRow("proceed") << int(TagsFromFiles) << false
                             << QStringList{emission("passDataToFetchTags_FromFilename", {"Artist,Title,Artist", "_"})}
                             << none;
    QTest::newRow("proceed without pattern") << int(TagsFromFiles) << true << none << message(patternMessage);
}

// The pass that receives the signal shows its own preview; the panel asks
// nothing first.
void TestGlobalReplaceBox::patternOperationEmitsWithoutAsking()
{
    QFETCH(int, mode);
    QFETCH(bool, fieldEmptied);
    acceptPattern(mode, QStringLiteral("_"), QStringLiteral("Artist_Title_Artist"));
    if (fieldEmptied)
        patternField()->clear();
    SignalRecorder recorder(m_panel);

    int boxesShown = 0;
    QTimer answering;
    connect(&answering, &QTimer::timeout, this, [&] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            ++boxesShown;
            box->close();
        }
    });
    answering.start(10);
    click(QStringLiteral("renameButton"));
    answering.stop();

    QCOMPARE(boxesShown, 0);
    QTEST(recorder.emissions, "emitted");
    QTEST(shownMessages(), "messages");
    // The receiver decides what happens next; the panel stays as it was.
    QVERIFY(child<QPushButton>(QStringLiteral("renameButton"))->isVisibleTo(m_panel));
}

void TestGlobalReplaceBox::pressesOnThePatternFieldAreSwallowed_data()
{
    QTest::addColumn<bool>("separatorPicked");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("before a separator is picked") << false << message(separatorMessage, Info);
    QTest::newRow("after a separator is picked") << true << QStringList();
}

void TestGlobalReplaceBox::pressesOnThePatternFieldAreSwallowed()
{
    QFETCH(bool, separatorPicked);
    m_panel->setMode(RenameFiles);
    if (separatorPicked)
        pickSeparator(QStringLiteral("-"));
    ExpressionLineEdit *field = patternField();
    field->setText(QStringLiteral("Artist-Title"));
    QCOMPARE(field->cursorPosition(), 12);

    // A press at the left end would put the cursor there.
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(3, field->height() / 2));

    QCOMPARE(field->cursorPosition(), 12);
    QTEST(shownMessages(), "messages");
    if (separatorPicked) {
        // Everything but presses still reaches the field.
        QTest::keyClick(field, Qt::Key_Home);
        QCOMPARE(field->cursorPosition(), 0);
    }
}

SONVEL_TEST_MAIN(TestGlobalReplaceBox)
#include "tst_globalreplacebox.moc"
