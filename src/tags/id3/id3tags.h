#pragma once

#include "tags/tagfamily.h"

// ID3v2 tags of MPEG, AIFF and WAV files (and MPEG's ID3v1 and APE copies).
namespace Id3Tags {

std::unique_ptr<TagFamily> open(const QString &path, AudioFormat format, TagFamily::Purpose purpose,
                                TagLib::IOStream *stream);

} // namespace Id3Tags
