// Stands in for a file manager in the screenshots: a small window that, pressed, drags the files
// named on its command line (a name with "://" goes as that address), as a copy.
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

class DragSource : public QLabel {
public:
    explicit DragSource(const QStringList &names) {
        for (const QString &name : names)
            m_urls << (name.contains(QStringLiteral("://")) ? QUrl(name) : QUrl::fromLocalFile(name));
        setText(QStringLiteral("%1 items").arg(names.size()));
        setAlignment(Qt::AlignCenter);
        setWindowTitle(QStringLiteral("Files"));
        resize(160, 120);
    }

protected:
    void mousePressEvent(QMouseEvent *) override {
        auto *data = new QMimeData;
        data->setUrls(m_urls);
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QList<QUrl> m_urls;
};

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    DragSource source(QApplication::arguments().mid(1));
    source.show();
    return QApplication::exec();
}
