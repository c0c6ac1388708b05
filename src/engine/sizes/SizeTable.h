#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The piece sizes offered in the size list, in decimal units; row 0 is the custom entry,
// whose value is never used as a size, and whose label alone is a word, translated where it is
// shown (context "Sizes").
struct SizeRow {
    const char *label;
    const char16_t *bytes;
};

inline constexpr std::array<SizeRow, 16> kSizeTable{{
    {QT_TRANSLATE_NOOP("Sizes", "Custom Size"), u"0"},
    {"100k", u"100000"},
    {"200k", u"200000"},
    {"1M", u"1000000"},
    {"1.4M", u"1400000"},
    {"25M", u"25000000"},
    {"50M", u"50000000"},
    {"75M", u"75000000"},
    {"100M", u"100000000"},
    {"150M", u"150000000"},
    {"200M", u"200000000"},
    {"250M", u"250000000"},
    {"300M", u"300000000"},
    {"350M", u"350000000"},
    {"400M", u"400000000"},
    {"450M", u"450000000"},
}};
