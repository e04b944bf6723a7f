#pragma once

#include "tags/tagfamily.h"

// Vorbis comments of FLAC, Ogg Vorbis, Opus and Ogg FLAC files, and their pictures.
namespace XiphTags {

std::unique_ptr<TagFamily> open(const QString &path, AudioFormat format, TagFamily::Purpose purpose,
                                TagLib::IOStream *stream);

} // namespace XiphTags
