#pragma once

#include <QString>

#include <array>

// The piece sizes offered in the size list, in decimal units; row 0 is the custom entry,
// whose value is never used as a size.
struct SizeRow {
    const char16_t *label;
    const char16_t *bytes;
};

inline constexpr std::array<SizeRow, 16> kSizeTable{{
    {u"Custom Size", u"0"},
    {u"100k", u"100000"},
    {u"200k", u"200000"},
    {u"1M", u"1000000"},
    {u"1.4M", u"1400000"},
    {u"25M", u"25000000"},
    {u"50M", u"50000000"},
    {u"75M", u"75000000"},
    {u"100M", u"100000000"},
    {u"150M", u"150000000"},
    {u"200M", u"200000000"},
    {u"250M", u"250000000"},
    {u"300M", u"300000000"},
    {u"350M", u"350000000"},
    {u"400M", u"400000000"},
    {u"450M", u"450000000"},
}};
