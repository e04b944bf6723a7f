#pragma once

#include "app/command.h"
#include "app/commandhandler.h"
#include "app/commandobserver.h"
#include "common/standinservice.h"
#include "update/installersignature.h"
#include "update/updater.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMetaType>
#include <QString>

#include <memory>

// Records every command on the bus; answers the install confirmation unless
// told to leave that to another observer.
class CommandRecorder : public CommandObserver
{
public:
    enum Answer { ConfirmInstall, DeclineInstall, LeaveAnswer };

    explicit CommandRecorder(Answer answer = ConfirmInstall)
        : m_answer(answer)
    {
        CommandHandler::instance()->addObserver(this);
    }
    ~CommandRecorder() override { CommandHandler::instance()->removeObserver(this); }

    void handleCommand(Command &command) override
    {
        if (command.id == Commands::ConfirmUpdateInstall && m_answer != LeaveAnswer)
            command.result = m_answer == ConfirmInstall;
        commands.append(command);
    }

    QList<int> ids() const
    {
        QList<int> list;
        for (const Command &command : commands) {
            if (list.isEmpty() || list.last() != command.id || command.id != Commands::UpdateDownloadProgress)
                list.append(command.id);
        }
        return list;
    }

    QList<Command> withId(int id) const
    {
        QList<Command> list;
        for (const Command &command : commands) {
            if (command.id == id)
                list.append(command);
        }
        return list;
    }

    QList<Command> commands;

private:
    Answer m_answer;
};

// A shell script that stands in for the installer: it appends the path it was
// started with to runLog and exits with exitCode. Padded so it downloads in
// several chunks.
inline QByteArray installerScript(const QString &runLog, int exitCode, int size = 48 * 1024)
{
    QByteArray script = "#!/bin/sh\nprintf '%s\\n' \"$0\" >> '" + QFile::encodeName(runLog) + "'\nexit "
                        + QByteArray::number(exitCode) + "\n";
    while (script.size() < size)
        script += "# padding padding padding padding padding padding padding padding\n";
    return script.left(size - 1) + '\n';
}

inline QStringList installerRuns(const QString &runLog)
{
    QFile file(runLog);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// How the stand-in signs an installer it serves.
enum class Signing { Signed, Unsigned, Tampered, Truncated, Base64Text };
Q_DECLARE_METATYPE(Signing)

inline void serveInstaller(StandInService &service, const QString &path, const QByteArray &installer, Signing signing)
{
    const QString signaturePath = path + QStringLiteral(".sig");
    if (signing == Signing::Tampered) {
        QByteArray changed = installer;
        changed[changed.size() / 2] = changed.at(changed.size() / 2) ^ 1;
        service.serveFile(path, changed);
        service.serveFile(signaturePath, StandInService::sign(installer));
        return;
    }
    service.serveFile(path, installer);
    const QByteArray signature = StandInService::sign(installer);
    if (signing == Signing::Signed)
        service.serveFile(signaturePath, signature);
    else if (signing == Signing::Truncated)
        service.serveFile(signaturePath, signature.left(signature.size() - 1));
    else if (signing == Signing::Base64Text)
        service.serveFile(signaturePath, signature.toBase64());
}

inline const QString &notSignedNotification()
{
    static const QString text =
        QStringLiteral("The downloaded installer is not signed by Sonvel's maker; it was deleted and not started.");
    return text;
}

// Folders named like download folders directly in base.
inline QStringList updateFolders(const QString &base)
{
    return QDir(base).entryList({QStringLiteral("update*")}, QDir::Dirs | QDir::NoDotAndDotDot);
}

// An updater that asks the stand-in service as Windows would, with time-outs
// short enough for tests, and trusts what the stand-in signs.
inline std::unique_ptr<Updater> makeTestUpdater(const QString &serviceBaseUrl)
{
    InstallerSignature::setTrustedKey(StandInService::signingPublicKey());
    auto updater = std::make_unique<Updater>(serviceBaseUrl);
    updater->setOsKind(OsKind::Windows);
    updater->setRequestTimeout(3000);
    updater->setDownloadStallTimeout(3000);
    return updater;
}
