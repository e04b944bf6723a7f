#include "tags/savingoptions.h"

#include <atomic>

namespace {
std::atomic<SavingOptions::Id3v2Version> g_version{SavingOptions::Id3v2Version::V24};
std::atomic<SavingOptions::Id3v1Copy> g_id3v1Copy{SavingOptions::Id3v1Copy::AlwaysWrite};
std::atomic<SavingOptions::Covers> g_covers{SavingOptions::Covers::FitTo400};
} // namespace

SavingOptions SavingOptions::current()
{
    return {g_version.load(), g_id3v1Copy.load(), g_covers.load()};
}

void SavingOptions::setCurrent(const SavingOptions &options)
{
    g_version = options.id3v2Version;
    g_id3v1Copy = options.id3v1Copy;
    g_covers = options.covers;
}
