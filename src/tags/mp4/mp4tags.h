#pragma once

#include "tags/tagfamily.h"

// The iTunes-style atoms of MP4 files (AAC, ALAC).
namespace Mp4Tags {

// Null when TagLib cannot open the file or finds no valid MP4 atom tree in it.
std::unique_ptr<TagFamily> open(const QString &path, AudioFormat format, TagFamily::Purpose purpose,
                                TagLib::IOStream *stream);

} // namespace Mp4Tags
