#include "tags/tagfamily.h"

#include "tags/id3/id3tags.h"
#include "tags/mp4/mp4tags.h"
#include "tags/xiph/xiphtags.h"

std::unique_ptr<TagFamily> TagFamily::open(const QString &path, AudioFormat format, Purpose purpose,
                                           TagLib::IOStream *stream)
{
    switch (AudioFormats::family(format)) {
    case TagFamilyKind::Id3:
        return Id3Tags::open(path, format, purpose, stream);
    case TagFamilyKind::Xiph:
        return XiphTags::open(path, format, purpose, stream);
    case TagFamilyKind::Mp4:
        return Mp4Tags::open(path, format, purpose, stream);
    case TagFamilyKind::None:
        break;
    }
    return nullptr;
}
