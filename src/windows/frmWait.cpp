#include "frmWait.h"

#include "FontFit.h"
#include "Twips.h"

#include <QFont>
#include <QLabel>

frmWait::frmWait(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_label1(new QLabel(QStringLiteral("Splitting Files Please Wait"), this)) {
    setObjectName(QStringLiteral("frmWait"));
    setWindowTitle(QStringLiteral("Please wait splitting files"));
    setFixedSize(twipsToPixels(this, 4680, 3090));

    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(14.25);
    font.setWeight(QFont::Bold);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setFont(font);
    m_label1->setGeometry(twipsToPixels(this, 720, 1080, 3255, 495));
    // Without Times New Roman or a font of its measure, the words would be cut off.
    fitFontToCaptions(m_label1, {m_label1});
}
