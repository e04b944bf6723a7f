#include "common/testmain.h"
#include "settings/qpagedwidget.h"
#include "settings/savingpagewidget.h"
#include "settings/savingsettings.h"
#include "settings/settingsdialog.h"
#include "settings/usersettings.h"

#include <QListWidget>
#include <QRadioButton>
#include <QTemporaryDir>

using Version = SavingOptions::Id3v2Version;
using Copy = SavingOptions::Id3v1Copy;
using Covers = SavingOptions::Covers;
Q_DECLARE_METATYPE(SavingOptions)

class TestSavingSettings : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString settingsFile() const { return m_dir.filePath(QStringLiteral("settings.ini")); }

    QRadioButton *radio(QWidget *page, const QString &text)
    {
        for (QRadioButton *button : page->findChildren<QRadioButton *>()) {
            if (button->text() == text)
                return button;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    void init()
    {
        QFile::remove(settingsFile());
        QFile::remove(UserSettings::open()->fileName());
        SavingOptions::setCurrent(SavingOptions());
    }

    void survivesRestart_data()
    {
        QTest::addColumn<SavingOptions>("options");
        for (Version version : {Version::V24, Version::V23}) {
            for (Copy copy : {Copy::AlwaysWrite, Copy::KeepAsFound, Copy::Remove}) {
                for (Covers covers : {Covers::FitTo400, Covers::KeepAsChosen})
                    QTest::addRow("%d %d %d", int(version), int(copy), int(covers))
                        << SavingOptions{version, copy, covers};
            }
        }
    }

    void survivesRestart()
    {
        QFETCH(SavingOptions, options);
        {
            QSettings settings(settingsFile(), QSettings::IniFormat);
            SavingSettings::store(settings, options);
        }
        const QSettings reopened(settingsFile(), QSettings::IniFormat);
        QVERIFY(SavingSettings::load(reopened) == options);
    }

    void unreadableValuesFallBack_data()
    {
        QTest::addColumn<QVariant>("version");
        QTest::addColumn<QVariant>("copy");
        QTest::addColumn<QVariant>("covers");
        QTest::addColumn<SavingOptions>("expected");
        QTest::newRow("missing") << QVariant() << QVariant() << QVariant() << SavingOptions();
        QTest::newRow("unknown version, good copy and covers")
            << QVariant("2.5") << QVariant("remove") << QVariant("asChosen")
            << SavingOptions{Version::V24, Copy::Remove, Covers::KeepAsChosen};
        QTest::newRow("good version, unknown copy")
            << QVariant("2.3") << QVariant("sometimes") << QVariant()
            << SavingOptions{Version::V23, Copy::AlwaysWrite, Covers::FitTo400};
        QTest::newRow("unknown covers") << QVariant() << QVariant() << QVariant("original") << SavingOptions();
        QTest::newRow("numbers and lists")
            << QVariant(3) << QVariant(QStringList{"keep", "x"}) << QVariant(1) << SavingOptions();
    }

    void unreadableValuesFallBack()
    {
        QFETCH(QVariant, version);
        QFETCH(QVariant, copy);
        QFETCH(QVariant, covers);
        QFETCH(SavingOptions, expected);
        QSettings settings(settingsFile(), QSettings::IniFormat);
        if (version.isValid())
            settings.setValue("saving/id3v2Version", version);
        if (copy.isValid())
            settings.setValue("saving/id3v1Copy", copy);
        if (covers.isValid())
            settings.setValue("saving/covers", covers);
        QVERIFY(SavingSettings::load(settings) == expected);
    }

    void pageAppliesAndKeepsChoices()
    {
        SettingsDialog dialog;
        const auto *list = dialog.findChild<QListWidget *>(QStringLiteral("pageList"));
        QVERIFY(list);
        QCOMPARE(list->item(1)->text(), QStringLiteral("Saving"));
        auto *page = dialog.findChild<SavingPageWidget *>();
        QVERIFY(page);
        QVERIFY(radio(page, "2.4")->isChecked());
        QVERIFY(radio(page, "Always write")->isChecked());
        QVERIFY(radio(page, QString::fromUtf8("Fit to 400 × 400"))->isChecked());

        radio(page, "2.3")->click();
        radio(page, "Keep as found")->click();
        radio(page, "Keep as chosen")->click();
        const SavingOptions chosen{Version::V23, Copy::KeepAsFound, Covers::KeepAsChosen};
        QVERIFY(SavingOptions::current() == chosen);
        QVERIFY(SavingSettings::load(*UserSettings::open()) == chosen);

        SavingPageWidget reopened;
        QVERIFY(radio(&reopened, "2.3")->isChecked());
        QVERIFY(radio(&reopened, "Keep as found")->isChecked());
        QVERIFY(radio(&reopened, "Keep as chosen")->isChecked());
    }
};

SONVEL_TEST_MAIN(TestSavingSettings)
#include "tst_savingsettings.moc"
