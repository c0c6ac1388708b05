#include "NameFolding.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

QString foldedName(const QString &name) {
    // Full folding may lengthen a name (ß gives ss); three times its length is always enough.
    QString folded(name.size() * 3 + 1, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        u_strFoldCase(reinterpret_cast<UChar *>(folded.data()), int32_t(folded.size()),
                      reinterpret_cast<const UChar *>(name.utf16()), int32_t(name.size()),
                      U_FOLD_CASE_DEFAULT, &status);
    if (U_FAILURE(status))
        return name.toCaseFolded();
    folded.truncate(length);
    return folded;
}

bool sameNameOnWindows(const QString &a, const QString &b) {
    if (a.size() != b.size())
        return false;
    const auto upper = [](QChar unit) {
        return unit.isSurrogate() ? char32_t(unit.unicode())
                                  : QChar::toUpper(char32_t(unit.unicode()));
    };
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i]))
            return false;
    }
    return true;
}
