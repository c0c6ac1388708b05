#pragma once

#include "Failure.h"

#include <QList>

#include <functional>

// Every refusal of a split's check, each with the index of the queued file it concerns (the
// queue's length for the output folder's own), told in the order of the queue whatever the
// order of the checks.
class Refusals {
public:
    void add(qsizetype index, Failure refusal) { m_refusals.append({index, std::move(refusal)}); }
    // add(), as a function to hand on.
    std::function<void(qsizetype index, Failure refusal)> adder() {
        return [this](qsizetype index, Failure refusal) { add(index, std::move(refusal)); };
    }
    qsizetype size() const noexcept { return m_refusals.size(); }
    bool isEmpty() const noexcept { return m_refusals.isEmpty(); }
    // A Failure of kind Refused whose parts are every refusal, the folder's last.
    [[noreturn]] void throwAll() const;

private:
    struct Numbered {
        qsizetype index;
        Failure refusal;
    };
    QList<Numbered> m_refusals;
};
