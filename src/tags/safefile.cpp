#include "tags/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace SafeFile {

namespace {

const QString kMark = QStringLiteral(".sonvel-save-");

// Names stay within what file systems take (255 bytes) with the mark added.
QString temporaryTemplate(const QString &target)
{
    const QFileInfo info(target);
    QString name = info.fileName();
    while (QFile::encodeName(name).size() > 200)
        name.chop(1);
    return info.absolutePath() + QLatin1Char('/') + name + kMark + QStringLiteral("XXXXXX");
}

} // namespace

bool isLeftover(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("\\.sonvel-save-[A-Za-z0-9]{6}$"));
    return pattern.match(fileName).hasMatch();
}

#ifndef Q_OS_WIN

namespace {

TagWriteError fromErrno(int error, TagWriteError denied)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return TagWriteError::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
        return denied;
    case ENOENT:
        return TagWriteError::FileMissing;
    default:
        return TagWriteError::SaveFailed;
    }
}

// Writes all of it, through interruptions and short writes.
bool writeAll(int fd, const QByteArray &bytes, qint64 offset)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t written = offset >= 0 ? ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done),
                                                       off_t(offset + done))
                                            : ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

TagWriteError overwrite(const QString &path, const std::vector<Run> &runs)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return fromErrno(errno, TagWriteError::ReadOnlyFile);
    TagWriteError error = TagWriteError::None;
    for (const Run &run : runs) {
        if (!writeAll(fd, run.bytes, run.offset)) {
            error = fromErrno(errno, TagWriteError::ReadOnlyFile);
            break;
        }
    }
    // No flush: a run written in one call is whole after a kill, and a power
    // cut can at worst tear the tag it holds, never the audio; flushing
    // every file would cost more than the save itself.
    if (::close(fd) != 0 && error == TagWriteError::None)
        error = fromErrno(errno, TagWriteError::ReadOnlyFile);
    return error;
}

Replacement::Replacement(const QString &target)
    : m_target(target)
{
}

Replacement::~Replacement()
{
    if (m_handle >= 0)
        ::close(int(m_handle));
    if (!m_replaced && !m_path.isEmpty())
        ::unlink(QFile::encodeName(m_path).constData());
}

TagWriteError Replacement::open()
{
    const QByteArray target = QFile::encodeName(m_target);
    struct stat info;
    if (::stat(target.constData(), &info) != 0)
        return fromErrno(errno, TagWriteError::SaveFailed);
    // A rename would replace a read-only file that the folder lets go.
    if (::access(target.constData(), W_OK) != 0)
        return fromErrno(errno, TagWriteError::ReadOnlyFile);
    if (info.st_nlink > 1)
        return TagWriteError::HardLinks;

    QByteArray name = QFile::encodeName(temporaryTemplate(m_target));
    const int fd = ::mkstemp(name.data());
    if (fd < 0)
        return fromErrno(errno, TagWriteError::FolderNotWritable);
    m_handle = fd;
    m_path = QFile::decodeName(name);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    // Held while the save runs, so that adding the folder meanwhile does not
    // take the file for a leftover.
    ::flock(fd, LOCK_EX);
    return TagWriteError::None;
}

TagWriteError Replacement::write(const QByteArray &bytes)
{
    if (!writeAll(int(m_handle), bytes, -1))
        return fromErrno(errno, TagWriteError::FolderNotWritable);
    return TagWriteError::None;
}

TagWriteError Replacement::finish()
{
    struct stat info;
    if (::stat(QFile::encodeName(m_target).constData(), &info) != 0)
        return fromErrno(errno, TagWriteError::SaveFailed);
    // The owner only where allowed: a user may not give files away.
    if (::fchown(int(m_handle), info.st_uid, info.st_gid) != 0)
        (void)::fchown(int(m_handle), uid_t(-1), info.st_gid);
    if (::fchmod(int(m_handle), info.st_mode & 07777) != 0 || ::fsync(int(m_handle)) != 0)
        return fromErrno(errno, TagWriteError::SaveFailed);
    return TagWriteError::None;
}

TagWriteError Replacement::replaceTarget()
{
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(m_target).constData()) != 0)
        return fromErrno(errno, TagWriteError::FolderNotWritable);
    m_replaced = true;
    // The rename itself reaches the disk only with its folder.
    syncFolder(QFileInfo(m_target).absolutePath());
    return TagWriteError::None;
}

bool removeLeftover(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool removed = free && ::unlink(name.constData()) == 0;
    ::close(fd);
    return removed;
}

#else

namespace {

std::wstring wide(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

TagWriteError fromLastError(TagWriteError denied)
{
    switch (GetLastError()) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return TagWriteError::DiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
        return denied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return TagWriteError::FileMissing;
    default:
        return TagWriteError::SaveFailed;
    }
}

bool writeAll(HANDLE file, const QByteArray &bytes, qint64 offset)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        OVERLAPPED at = {};
        OVERLAPPED *where = nullptr;
        if (offset >= 0) {
            at.Offset = DWORD((offset + done) & 0xffffffff);
            at.OffsetHigh = DWORD((offset + done) >> 32);
            where = &at;
        }
        DWORD written = 0;
        if (!WriteFile(file, bytes.constData() + done, DWORD(bytes.size() - done), &written, where) || written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

TagWriteError overwrite(const QString &path, const std::vector<Run> &runs)
{
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return fromLastError(TagWriteError::ReadOnlyFile);
    TagWriteError error = TagWriteError::None;
    for (const Run &run : runs) {
        if (!writeAll(file, run.bytes, run.offset)) {
            error = fromLastError(TagWriteError::ReadOnlyFile);
            break;
        }
    }
    CloseHandle(file);
    return error;
}

Replacement::Replacement(const QString &target)
    : m_target(target)
{
}

Replacement::~Replacement()
{
    if (m_handle != -1)
        CloseHandle(HANDLE(m_handle));
    if (!m_replaced && !m_path.isEmpty())
        DeleteFileW(wide(m_path).c_str());
}

TagWriteError Replacement::open()
{
    const DWORD attributes = GetFileAttributesW(wide(m_target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return fromLastError(TagWriteError::SaveFailed);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return TagWriteError::ReadOnlyFile;
    HANDLE target = CreateFileW(wide(m_target).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info;
        const bool linked = GetFileInformationByHandle(target, &info) && info.nNumberOfLinks > 1;
        CloseHandle(target);
        if (linked)
            return TagWriteError::HardLinks;
    }
    const QString base = temporaryTemplate(m_target);
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = base;
        for (int i = 0; i < 6; ++i)
            name[name.size() - 6 + i] = letters.at(int((GetTickCount64() * 7919 + attempt * 104729 + i * 31) % 62));
        // No sharing for deletion: a save in progress is no leftover.
        HANDLE file = CreateFileW(wide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            m_handle = qintptr(file);
            m_path = name;
            return TagWriteError::None;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            return fromLastError(TagWriteError::FolderNotWritable);
    }
    return TagWriteError::FolderNotWritable;
}

TagWriteError Replacement::write(const QByteArray &bytes)
{
    return writeAll(HANDLE(m_handle), bytes, -1) ? TagWriteError::None
                                                  : fromLastError(TagWriteError::FolderNotWritable);
}

TagWriteError Replacement::finish()
{
    if (!FlushFileBuffers(HANDLE(m_handle)))
        return fromLastError(TagWriteError::SaveFailed);
    CloseHandle(HANDLE(m_handle));
    m_handle = -1;
    return TagWriteError::None;
}

TagWriteError Replacement::replaceTarget()
{
    // ReplaceFile keeps the target's attributes, security and identity.
    if (!ReplaceFileW(wide(m_target).c_str(), wide(m_path).c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                      nullptr, nullptr)
        && !MoveFileExW(wide(m_path).c_str(), wide(m_target).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fromLastError(TagWriteError::FolderNotWritable);
    m_replaced = true;
    return TagWriteError::None;
}

bool removeLeftover(const QString &path)
{
    return DeleteFileW(wide(path).c_str());
}

#endif

} // namespace SafeFile
