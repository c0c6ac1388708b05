#include "frmWait.h"

#include "Accessibility.h"
#include "FontFit.h"
#include "Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

frmWait::frmWait(Job::Kind what, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_label1(new QLabel(this))
    , m_progress(new QProgressBar(this))
    , m_line(new QLabel(this))
    , m_cancel(new QPushButton(tr("Cancel"), this)) {
    setObjectName(QStringLiteral("frmWait"));
    nameTheWork(what);
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

    // Under the label, in the part of the window it leaves empty.
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setGeometry(twipsToPixels(this, 240, 1680, 4200, 210));
    m_progress->setRange(0, 1000);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    // A screen reader says the bar as the label above it, and its value as a share of the whole.
    nameByCaption(m_progress, m_label1);
    m_progress->setAccessibleDescription(tr("How much of the work is done"));
    m_line->setObjectName(QStringLiteral("Label2"));
    // Two lines: a long name and the numbers do not fit on one.
    m_line->setGeometry(twipsToPixels(this, 240, 1950, 4200, 480));
    m_line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setGeometry(twipsToPixels(this, 3345, 2520, 1095, 375));
    m_cancel->setAccessibleDescription(tr("Asks the work under way to stop"));
    connect(m_cancel, &QPushButton::clicked, this, &frmWait::stopRequested);
    // The main window's File > Quit, which this window holds the input of while it is up.
    auto *quit = new QAction(this);
    quit->setObjectName(QStringLiteral("mnuquit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    addAction(quit);
    connect(quit, &QAction::triggered, this, &frmWait::quitRequested);
}

void frmWait::nameTheWork(Job::Kind what) {
    switch (what) {
    case Job::Kind::Split:
        setWindowTitle(tr("Please wait splitting files"));
        m_label1->setText(tr("Splitting Files Please Wait"));
        break;
    case Job::Kind::Join:
        setWindowTitle(tr("Please wait joining files"));
        m_label1->setText(tr("Joining Files Please Wait"));
        break;
    case Job::Kind::Verify:
        setWindowTitle(tr("Please wait checking pieces"));
        m_label1->setText(tr("Checking Pieces Please Wait"));
        break;
    }
}

void frmWait::showProgress(const QString &line, int permille, bool stoppable) {
    m_progress->setValue(permille);
    // A line too long for the window goes on after the name's colon: the name (which may not
    // hold a colon) above, losing its middle if it must, and the numbers whole below.
    const QFontMetrics metrics = m_line->fontMetrics();
    const int room = m_line->width();
    const qsizetype colon = line.indexOf(QStringLiteral(": "));
    if (metrics.horizontalAdvance(line) <= room || colon < 0)
        m_line->setText(metrics.elidedText(line, Qt::ElideMiddle, room));
    else
        m_line->setText(metrics.elidedText(line.left(colon + 1), Qt::ElideMiddle, room) + u'\n' +
                        metrics.elidedText(line.mid(colon + 2), Qt::ElideRight, room));
    m_cancel->setEnabled(stoppable);
}

void frmWait::closeEvent(QCloseEvent *event) {
    // The window goes when the run is over; closing it asks the run to stop.
    event->ignore();
    if (m_cancel->isEnabled())
        Q_EMIT stopRequested();
}

void frmWait::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape && m_cancel->isEnabled()) {
        Q_EMIT stopRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}
