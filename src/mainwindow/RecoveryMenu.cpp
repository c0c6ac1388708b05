#include "RecoveryMenu.h"

#include "Par2Program.h"
#include "words/FailureText.h"

#include <QActionGroup>

namespace {

struct Choice {
    const char *text;
    const char16_t *name;
    RecoveryAmount amount;
};

const Choice kChoices[] = {
    {QT_TRANSLATE_NOOP("RecoveryMenu", "&None"), u"mnurecovery_none", {}},
    {QT_TRANSLATE_NOOP("RecoveryMenu", "Rebuild &1 Lost Piece"), u"mnurecovery_1", {1, false}},
    {QT_TRANSLATE_NOOP("RecoveryMenu", "Rebuild &2 Lost Pieces"), u"mnurecovery_2", {2, false}},
    {QT_TRANSLATE_NOOP("RecoveryMenu", "Rebuild 1&0 % of Pieces"), u"mnurecovery_10pc", {10, true}},
};

} // namespace

RecoveryMenu::RecoveryMenu(QWidget *parent)
    : QMenu(tr("Rec&overy Files"), parent)
    , m_choices(new QActionGroup(this)) {
    setObjectName(QStringLiteral("mnurecovery"));
    const bool available = Par2Program::isAvailable();
    for (const Choice &choice : kChoices) {
        QAction *action = addAction(tr(choice.text));
        action->setObjectName(QString::fromUtf16(choice.name));
        action->setCheckable(true);
        action->setChecked(choice.amount.amount == 0);
        action->setEnabled(available || choice.amount.amount == 0);
        action->setData(QVariant::fromValue(&choice - kChoices));
        m_choices->addAction(action);
    }
    if (!available) {
        addSeparator();
        QAction *reason = addAction(failureReason(Par2Program::absent()));
        reason->setObjectName(QStringLiteral("mnurecovery_absent"));
        reason->setEnabled(false);
    }
}

RecoveryAmount RecoveryMenu::chosen() const {
    const QAction *checked = m_choices->checkedAction();
    return checked ? kChoices[checked->data().toInt()].amount : RecoveryAmount{};
}
