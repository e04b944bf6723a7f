#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// Builds the Debian package from the already built program once, unpacks it,
// and checks what a fresh system would receive.
class TstDebPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void contents_data();
    void contents();
    void iconSizes_data();
    void iconSizes();
    void dependsOnLibraries_data();
    void dependsOnLibraries();
    void controlFields_data();
    void controlFields();
    void metadataValidates_data();
    void metadataValidates();

private:
    struct Run
    {
        int exitCode = -1;
        QString output;
    };
    static Run run(const QString &program, const QStringList &arguments);
    QString controlField(const QString &name) const;

    QTemporaryDir m_workDir;
    QString m_dpkgDeb;
    QString m_package;
    QStringList m_listing;
};

TstDebPackage::Run TstDebPackage::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Run result;
    // cpack strips the binary and runs dpkg-shlibdeps: seconds, not minutes.
    if (!process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

void TstDebPackage::initTestCase()
{
    const QString cpack = QStringLiteral(SONVEL_CPACK_COMMAND);
    m_dpkgDeb = QStandardPaths::findExecutable(QStringLiteral("dpkg-deb"));
    if (!QFileInfo(cpack).isExecutable() || m_dpkgDeb.isEmpty())
        QSKIP("cpack or dpkg-deb is not installed");
    QVERIFY(m_workDir.isValid());

    const Run packed = run(cpack, {QStringLiteral("--config"), QStringLiteral(SONVEL_CPACK_CONFIG),
                                   QStringLiteral("-G"), QStringLiteral("DEB"),
                                   QStringLiteral("-B"), m_workDir.path()});
    QVERIFY2(packed.exitCode == 0, qPrintable(packed.output));
    m_package = m_workDir.filePath(QStringLiteral("sonvel_%1_amd64.deb").arg(QStringLiteral(SONVEL_VERSION)));
    QVERIFY2(QFileInfo::exists(m_package), qPrintable(packed.output));

    const Run listed = run(m_dpkgDeb, {QStringLiteral("-c"), m_package});
    QCOMPARE(listed.exitCode, 0);
    m_listing = listed.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const Run unpacked = run(m_dpkgDeb, {QStringLiteral("-x"), m_package, m_workDir.filePath(QStringLiteral("root"))});
    QVERIFY2(unpacked.exitCode == 0, qPrintable(unpacked.output));
}

QString TstDebPackage::controlField(const QString &name) const
{
    return run(m_dpkgDeb, {QStringLiteral("-f"), m_package, name}).output.trimmed();
}

void TstDebPackage::contents_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("mode");
    QTest::newRow("program") << "./usr/bin/sonvel" << "-rwxr-xr-x";
    QTest::newRow("desktop entry") << "./usr/share/applications/sonvel.desktop" << "-rw-r--r--";
    QTest::newRow("metainfo") << "./usr/share/metainfo/org.sonvel.Sonvel.metainfo.xml" << "-rw-r--r--";
    for (const int size : {48, 64, 128, 256})
        QTest::addRow("icon %d", size)
            << QStringLiteral("./usr/share/icons/hicolor/%1x%1/apps/sonvel.png").arg(size) << "-rw-r--r--";
}

void TstDebPackage::contents()
{
    QFETCH(QString, path);
    QFETCH(QString, mode);
    // dpkg-deb -c prints "mode owner size date time path".
    const auto entry = std::find_if(m_listing.cbegin(), m_listing.cend(), [&path](const QString &line) {
        return line.endsWith(QLatin1Char(' ') + path);
    });
    QVERIFY2(entry != m_listing.cend(), qPrintable(m_listing.join(QLatin1Char('\n'))));
    QVERIFY2(entry->startsWith(mode), qPrintable(*entry));
}

void TstDebPackage::iconSizes_data()
{
    QTest::addColumn<int>("size");
    for (const int size : {48, 64, 128, 256})
        QTest::addRow("%d px", size) << size;
}

void TstDebPackage::iconSizes()
{
    QFETCH(int, size);
    // The theme trusts the folder name; a mismatched picture shows blurred or cut.
    QImageReader reader(m_workDir.filePath(QStringLiteral("root/usr/share/icons/hicolor/%1x%1/apps/sonvel.png").arg(size)));
    QCOMPARE(reader.size(), QSize(size, size));
}

void TstDebPackage::dependsOnLibraries_data()
{
    QTest::addColumn<QString>("package");
    QTest::newRow("Qt 5 Core") << "libqt5core5a";
    QTest::newRow("Qt 5 Widgets") << "libqt5widgets5";
    QTest::newRow("Qt 5 Network") << "libqt5network5";
    QTest::newRow("TagLib") << "libtag1v5";
}

void TstDebPackage::dependsOnLibraries()
{
    QFETCH(QString, package);
    const QString depends = controlField(QStringLiteral("Depends"));
    const QRegularExpression named(QStringLiteral("(^|[ ,|])%1( |,|$)").arg(QRegularExpression::escape(package)));
    QVERIFY2(named.match(depends).hasMatch(), qPrintable(depends));
}

void TstDebPackage::controlFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("package") << "Package" << "sonvel";
    QTest::newRow("version") << "Version" << SONVEL_VERSION;
    QTest::newRow("section") << "Section" << "sound";
    QTest::newRow("architecture") << "Architecture" << "amd64";
}

void TstDebPackage::controlFields()
{
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QCOMPARE(controlField(field), expected);
}

void TstDebPackage::metadataValidates_data()
{
    QTest::addColumn<QString>("validator");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("path");
    QTest::newRow("metainfo") << "appstreamcli" << QStringList{"validate", "--no-net"}
                              << "usr/share/metainfo/org.sonvel.Sonvel.metainfo.xml";
    QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList{}
                                   << "usr/share/applications/sonvel.desktop";
}

void TstDebPackage::metadataValidates()
{
    QFETCH(QString, validator);
    QFETCH(QStringList, options);
    QFETCH(QString, path);
    const QString program = QStandardPaths::findExecutable(validator);
    if (program.isEmpty())
        QSKIP(qPrintable(validator + QStringLiteral(" is not installed")));
    const Run checked = run(program, options << m_workDir.filePath(QStringLiteral("root/") + path));
    QVERIFY2(checked.exitCode == 0, qPrintable(checked.output));
}

QTEST_GUILESS_MAIN(TstDebPackage)
#include "tst_debpackage.moc"
