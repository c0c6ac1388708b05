#include "frmAbout.h"

#include "FontFit.h"
#include "ProgramIcons.h"
#include "Twips.h"
#include "Version.h"

#include <QFont>
#include <QLabel>

frmAbout::frmAbout(QWidget *parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About"));
    setWindowIcon(aboutIcon());
    setFixedSize(twipsToPixels(this, 5970, 3570));

    auto *label1 = new QLabel(tr("Tessary Program"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setStyleHint(QFont::Serif);
    titleFont.setPointSizeF(12);
    titleFont.setWeight(QFont::Bold);
    label1->setFont(titleFont);
    label1->setGeometry(twipsToPixels(this, 480, 240, 3255, 375));

    auto *label2 = new QLabel(tr("Version %1").arg(QLatin1StringView(kTessaryVersion)), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(twipsToPixels(this, 480, 2760, 1215, 255));
    // Where the platform's font is larger than the one the window was drawn for (a theme's
    // choice), the words would be cut off.
    for (QLabel *label : {label1, label2})
        fitFontToCaptions(label, {label});
}
