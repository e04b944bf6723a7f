#pragma once

#include <QFile>
#include <QString>

#include <taglib/tfile.h>
#include <taglib/tstring.h>

#include <string>

// Hands a path to TagLib as the platform expects it: wide on Windows, in the
// file system's own encoding elsewhere. Keeps the bytes alive for the call.
class TagFileName
{
public:
    explicit TagFileName(const QString &path)
#ifdef Q_OS_WIN
        : m_name(path.toStdWString())
#else
        : m_name(QFile::encodeName(path))
#endif
    {
    }

    operator TagLib::FileName() const
    {
#ifdef Q_OS_WIN
        return TagLib::FileName(m_name.c_str());
#else
        return m_name.constData();
#endif
    }

private:
#ifdef Q_OS_WIN
    std::wstring m_name;
#else
    QByteArray m_name;
#endif
};

namespace TagStrings {

inline TagLib::String toTag(const QString &text)
{
    return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

inline QString fromTag(const TagLib::String &text)
{
    return QString::fromUtf8(text.toCString(true));
}

} // namespace TagStrings
