#pragma once

#include "tags/audioformat.h"
#include "tags/coverimage.h"
#include "tags/fields.h"
#include "tags/savingoptions.h"
#include "tags/tagwriteresult.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace TagLib {
class IOStream;
}

// One open audio file's tags, through its format's family (ID3, Vorbis
// comments, MP4 atoms), read and written through a stream the caller owns
// and keeps open longer than the family.
//
// Changes stay in memory until save(), which renders them into the stream;
// for writes that is a SaveStream, which stores them only when committed.
// Nothing is saved unless damage() says the tags were read whole.
class TagFamily
{
public:
    enum class Purpose {
        Read,  // tags only, no audio properties
        Write, // whatever the save needs
    };

    virtual ~TagFamily() = default;

    // Opens the file as the format its content says; null for Unknown or a
    // file that cannot be opened.
    static std::unique_ptr<TagFamily> open(const QString &path, AudioFormat format, Purpose purpose,
                                           TagLib::IOStream *stream);

    // The field as the table shows it; Fields::absent() when the file lacks it.
    virtual QString text(Field field) const = 0;
    // An empty text removes the field.
    virtual void setText(Field field, const QString &value) = 0;

    virtual bool hasPicture() const = 0;
    // The first picture's bytes, as stored.
    virtual QByteArray picture() const = 0;
    // Replaces every picture by one front cover stored as given; empty bytes
    // remove them all.
    virtual void setPicture(const CoverImage::Encoded &cover) = 0;

    // Removes what the Serato DJ software keeps in the file, and saves (into
    // the stream) only when there was something to remove.
    virtual TagWriteResult removeDjData(const SavingOptions &options) = 0;

    // Why the tags must not be written, before any change (a tag read only in
    // part, damaged metadata, not audio of the format after all).
    virtual TagWriteError damage() = 0;
    virtual TagWriteError save(const SavingOptions &options) = 0;
};
