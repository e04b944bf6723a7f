#include "common/standinservice.h"
#include "update/installersignature.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestInstallerSignature : public QObject
{
    Q_OBJECT

private slots:
    void verify_data();
    void verify();
    void signatureMadeByTheOpensslCommand();
    void builtInKeyIsTrustedUnlessReplaced();
};

void TestInstallerSignature::verify_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<QByteArray>("publicKey");
    QTest::addColumn<bool>("valid");

    const QByteArray installer = QByteArray("MZ") + QByteArray(5000, 'x');
    const QByteArray signature = StandInService::sign(installer);
    const QByteArray key = StandInService::signingPublicKey();
    QByteArray tampered = installer;
    tampered[100] = 'y';
    QByteArray flipped = signature;
    flipped[10] = char(flipped.at(10) ^ 0x01);

    QTest::newRow("good") << installer << signature << key << true;
    QTest::newRow("empty file, signed") << QByteArray() << StandInService::sign(QByteArray()) << key << true;
    QTest::newRow("tampered file") << tampered << signature << key << false;
    QTest::newRow("one bit of the signature changed") << installer << flipped << key << false;
    QTest::newRow("file with a byte more") << installer + '\0' << signature << key << false;
    QTest::newRow("wrong key") << installer << signature << InstallerSignature::trustedKey() << false;
    QTest::newRow("truncated signature") << installer << signature.left(63) << key << false;
    QTest::newRow("signature with a byte more") << installer << signature + '\0' << key << false;
    QTest::newRow("base64 signature") << installer << signature.toBase64() << key << false;
    QTest::newRow("empty signature") << installer << QByteArray() << key << false;
    QTest::newRow("empty key") << installer << signature << QByteArray() << false;
    QTest::newRow("truncated key") << installer << signature << key.left(31) << false;
}

void TestInstallerSignature::verify()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, signature);
    QFETCH(QByteArray, publicKey);
    QTEST(InstallerSignature::verify(file, signature, publicKey), "valid");
}

// The release steps sign with the openssl command; its output has to be what
// the program reads.
void TestInstallerSignature::signatureMadeByTheOpensslCommand()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString key = dir.filePath(QStringLiteral("key.pem"));
    const QString installer = dir.filePath(QStringLiteral("Setup.exe"));
    const QString signature = installer + QStringLiteral(".sig");
    QFile file(installer);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray content = QByteArray("MZ") + QByteArray(3000, 'z');
    file.write(content);
    file.close();

    const auto openssl = [](const QStringList &arguments) {
        QProcess process;
        process.start(QStringLiteral("openssl"), arguments);
        if (!process.waitForFinished(10000) || process.exitCode() != 0)
            qWarning().noquote() << process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 ? process.readAllStandardOutput()
                                                                                       : QByteArray();
    };
    openssl({QStringLiteral("genpkey"), QStringLiteral("-algorithm"), QStringLiteral("ed25519"), QStringLiteral("-out"), key});
    openssl({QStringLiteral("pkeyutl"), QStringLiteral("-sign"), QStringLiteral("-rawin"), QStringLiteral("-inkey"), key,
             QStringLiteral("-in"), installer, QStringLiteral("-out"), signature});
    // The DER form of an Ed25519 public key ends in the 32 raw bytes.
    const QByteArray der = openssl({QStringLiteral("pkey"), QStringLiteral("-in"), key, QStringLiteral("-pubout"),
                                    QStringLiteral("-outform"), QStringLiteral("DER")});
    QCOMPARE(der.size(), 44);
    QFile sig(signature);
    QVERIFY(sig.open(QIODevice::ReadOnly));
    const QByteArray signatureBytes = sig.readAll();
    QCOMPARE(signatureBytes.size(), InstallerSignature::SignatureSize);
    QVERIFY(InstallerSignature::verify(content, signatureBytes, der.right(InstallerSignature::PublicKeySize)));
    QVERIFY(!InstallerSignature::verify(content, signatureBytes, StandInService::signingPublicKey()));
}

void TestInstallerSignature::builtInKeyIsTrustedUnlessReplaced()
{
    const QByteArray builtIn = InstallerSignature::trustedKey();
    QCOMPARE(builtIn.size(), InstallerSignature::PublicKeySize);
    QVERIFY(builtIn != StandInService::signingPublicKey());
    InstallerSignature::setTrustedKey(StandInService::signingPublicKey());
    QCOMPARE(InstallerSignature::trustedKey(), StandInService::signingPublicKey());
    InstallerSignature::setTrustedKey(QByteArray());
    QCOMPARE(InstallerSignature::trustedKey(), builtIn);
}

QTEST_GUILESS_MAIN(TestInstallerSignature)
#include "tst_installersignature.moc"
