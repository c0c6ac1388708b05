#pragma once

#include <QString>
#include <QtGlobal>

#include <variant>

// A piece size as tessary-cli's -s takes it, read the same under every locale, so that a script
// that calls tessary-cli means the same everywhere: a label of the window's size list ("1.4M"),
// what a piece must fit by name ("fat32", "dvd": pieces of that many bytes at most, see
// SizeTargets.h), a whole number of bytes ("1400000"), or a number with a decimal unit (k, M, G:
// 1000s) or a binary one (KiB, MiB, GiB: 1024s) that comes to whole bytes ("1.5k", "64MiB"). No
// group separators, no exponents, no decimal comma. As in the window, a piece holds one byte less
// than the size, so a size below 2 bytes is none.
namespace SizeArgument {

// What is wrong with a size, in words that follow "tessary-cli split: ".
struct Problem {
    QString text;
};

// The bytes in every piece but the last, or what is wrong.
std::variant<qint64, Problem> pieceLength(const QString &size);

} // namespace SizeArgument
