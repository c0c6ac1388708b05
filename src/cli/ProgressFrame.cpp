#include "ProgressFrame.h"

#include "Columns.h"

#include <algorithm>

namespace {

constexpr int kBarCells = 20;
constexpr int kBarCellsAtLeast = 5;
// A name shortened further no longer tells files apart; the bar shrinks before the name is
// shortened below kNameWanted.
constexpr int kNameAtLeast = 8;
constexpr int kNameWanted = 30;

// "[#####-----] ": cells + 3 columns.
QString bar(int permille, int cells) {
    const int filled = permille * cells / 1000;
    return u'[' + QString(filled, u'#') + QString(cells - filled, u'-') + QStringLiteral("] ");
}

} // namespace

QString progressFrame(int permille, const ProgressText::Parts &parts, int columns) {
    const int room = std::max(columns - 1, 1);
    const int nameColumns = Columns::of(parts.name);
    const int nameAtLeast = std::min(nameColumns, kNameAtLeast);
    const int nameWanted = std::min(nameColumns, kNameWanted);
    const QString tails[] = {parts.place + parts.done + parts.total + parts.left,
                             parts.place + parts.done + parts.total, parts.done + parts.total,
                             parts.done};
    for (const bool withBar : {true, false}) {
        for (const QString &tail : tails) {
            const int tailColumns = Columns::of(tail);
            const int cells = withBar ? std::clamp(room - tailColumns - nameWanted - 3,
                                                   kBarCellsAtLeast, kBarCells)
                                      : 0;
            const int nameRoom = room - tailColumns - (withBar ? cells + 3 : 0);
            if (nameRoom >= nameAtLeast)
                return (withBar ? bar(permille, cells) : QString()) +
                       Columns::elidedInMiddle(parts.name, nameRoom) + tail;
        }
    }
    return Columns::elidedAtEnd(Columns::elidedInMiddle(parts.name, kNameAtLeast) + parts.done,
                                room);
}
