#include "RemoteDestination.h"
#include "MainWindowText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace {

RemoteDestinationHandler &destinationHandler() {
    static RemoteDestinationHandler handler;
    return handler;
}

template <typename Control> Control *named(QWidget *parent, const char16_t *name) {
    auto *control = new Control(parent);
    control->setObjectName(QString::fromUtf16(name));
    return control;
}

} // namespace

QString RemoteDestination::text() const {
    return (remote.endsWith(u':') ? remote : remote + u':') + folder;
}

std::optional<RemoteDestination> askRemoteDestination(QWidget *parent, const QStringList &remotes) {
    if (destinationHandler())
        return destinationHandler()(remotes);
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmRemote"));
    dialog.setWindowTitle(MainWindowText::tr("Split To Remote"));
    auto *remote = named<QComboBox>(&dialog, u"cboRemote");
    // One of the configuration, or one made on the fly, typed in.
    remote->setEditable(true);
    for (const QString &name : remotes)
        remote->addItem(name + u':');
    auto *folder = named<QLineEdit>(&dialog, u"txtRemoteFolder");
    auto *makeFolder = named<QCheckBox>(&dialog, u"chkMakeFolder");
    makeFolder->setText(MainWindowText::tr("&Make the folder where it is missing"));
    auto *resume = named<QCheckBox>(&dialog, u"chkResume");
    resume->setText(MainWindowText::tr("&Take up a split that was cut, keeping the pieces sent"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const auto updateOk = [&] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!remote->currentText().isEmpty());
    };
    QObject::connect(remote, &QComboBox::currentTextChanged, &dialog, updateOk);
    updateOk();
    // The form ties each caption to its box, which names the box for screen readers.
    auto *form = new QFormLayout(&dialog);
    form->addRow(MainWindowText::tr("&Remote:"), remote);
    form->addRow(MainWindowText::tr("&Folder on it:"), folder);
    form->addRow(makeFolder);
    form->addRow(resume);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return RemoteDestination{remote->currentText().trimmed(), folder->text().trimmed(),
                             makeFolder->isChecked(), resume->isChecked()};
}

RemoteDestinationHandler setRemoteDestinationHandler(RemoteDestinationHandler handler) {
    return std::exchange(destinationHandler(), std::move(handler));
}
