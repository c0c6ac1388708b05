#include "split/Refusals.h"

#include <algorithm>
#include <vector>

void Refusals::throwAll() const {
    QList<Numbered> sorted = m_refusals;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Numbered &a, const Numbered &b) { return a.index < b.index; });
    std::vector<Failure> refusals;
    for (const Numbered &numbered : sorted)
        refusals.push_back(numbered.refusal);
    throw Failure::refused(refusals);
}
