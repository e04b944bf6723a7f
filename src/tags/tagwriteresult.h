#pragma once

#include <QString>

// Why a write left a file as it was; None when the write was stored.
enum class TagWriteError {
    None,
    FileMissing,
    NotAudio,      // no audio of a format the program edits
    DamagedTags,   // metadata whose sizes or structure do not add up
    IncompleteTag,
    EncryptedFrames,
    PictureNotEncodable,
    SaveFailed,
    ReadOnlyFile,
    FolderNotWritable,
    DiskFull,
    HardLinks,   // other names of the same file would keep the old one
    NotVerified, // what was written did not read back as saved
};

struct TagWriteResult
{
    TagWriteError error = TagWriteError::None;

    explicit operator bool() const { return error == TagWriteError::None; }

    // Short enough to follow a file name in a notification.
    QString reason() const
    {
        switch (error) {
        case TagWriteError::None:
            return QString();
        case TagWriteError::FileMissing:
            return QStringLiteral("the file is gone");
        case TagWriteError::NotAudio:
            return QStringLiteral("it is not audio of a known format");
        case TagWriteError::DamagedTags:
            return QStringLiteral("its metadata is damaged");
        case TagWriteError::IncompleteTag:
            return QStringLiteral("its tag could not be read completely");
        case TagWriteError::EncryptedFrames:
            return QStringLiteral("its tag holds encrypted frames");
        case TagWriteError::PictureNotEncodable:
            return QStringLiteral("the picture could not be stored");
        case TagWriteError::SaveFailed:
            return QStringLiteral("it could not be written");
        case TagWriteError::ReadOnlyFile:
            return QStringLiteral("the file is read-only");
        case TagWriteError::FolderNotWritable:
            return QStringLiteral("its folder is not writable");
        case TagWriteError::DiskFull:
            return QStringLiteral("the disk is full");
        case TagWriteError::HardLinks:
            return QStringLiteral("it has other hard links, which would keep the old file");
        case TagWriteError::NotVerified:
            return QStringLiteral("what was written did not read back the same");
        }
        return QString();
    }
};
