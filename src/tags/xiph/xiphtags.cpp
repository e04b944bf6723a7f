#include "tags/xiph/xiphtags.h"

namespace XiphTags {

std::unique_ptr<TagFamily> open(const QString &, AudioFormat, TagFamily::Purpose)
{
    return nullptr;
}

} // namespace XiphTags
