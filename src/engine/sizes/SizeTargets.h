#pragma once

#include <QtGlobal>

#include <array>

// What people split for, by name, and the bytes one piece of each holds: never more than the
// target takes, and a whole number of 4,096-byte blocks, so that on a volume that shares blocks
// between files the kernel's copy can share the source's instead of writing new ones. As a
// piece size, each is one byte more, since a piece holds one byte less than the size (see
// PieceLength.h).
struct SizeTarget {
    const char16_t *name; // as tessary-cli's -s takes it
    const char *label;    // as the window's Size For menu shows it, translated there ("Sizes")
    qint64 pieceBytes;
};

inline constexpr std::array<SizeTarget, 8> kSizeTargets{{
    // The largest file a FAT32 volume holds is 4 GiB less one byte.
    {u"fat32", QT_TRANSLATE_NOOP("Sizes", "FAT32 Stick or Card (4 GB)"), 4'294'963'200},
    // The data of a 700 MB CD-R: 360,000 sectors of 2,048 bytes.
    {u"cd", QT_TRANSLATE_NOOP("Sizes", "CD (700 MB)"), 737'280'000},
    {u"dvd", QT_TRANSLATE_NOOP("Sizes", "DVD (4.7 GB)"), 4'700'372'992},
    {u"dvd-dl", QT_TRANSLATE_NOOP("Sizes", "Dual-Layer DVD (8.5 GB)"), 8'543'666'176},
    {u"bd", QT_TRANSLATE_NOOP("Sizes", "Blu-ray Disc (25 GB)"), 25'025'314'816},
    // 18 MB grows to 24 MB in base64, which a 25 MB attachment limit takes.
    {u"email", QT_TRANSLATE_NOOP("Sizes", "E-mail Attachment (18 MB)"), 17'997'824},
    // A release asset must be under 2 GiB, and uploads of nearly that much are refused: 2 GB.
    {u"github", QT_TRANSLATE_NOOP("Sizes", "GitHub Release Asset (2 GB)"), 1'999'998'976},
    // 10 MB without Nitro, whether counted in 1000s or 1024s.
    {u"discord", QT_TRANSLATE_NOOP("Sizes", "Discord Attachment (10 MB)"), 9'998'336},
}};
