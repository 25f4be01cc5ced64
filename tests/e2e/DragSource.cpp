// A window that drags files, as a file manager does: a press anywhere in it
// starts a drag of the files named on the command line, and "accepted" is
// printed once a window under the pointer takes them. The end-to-end runs
// drop them on Kivo with real pointer moves.

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QList<QUrl> files) : m_files(std::move(files))
    {
        setWindowTitle(QStringLiteral("drag source"));
        resize(200, 150);
    }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* files = new QMimeData;
        files->setUrls(m_files);
        auto* drag = new QDrag(this);
        drag->setMimeData(files);
        connect(drag, &QDrag::actionChanged, this, [](Qt::DropAction action) {
            if (action != Qt::IgnoreAction)
                std::printf("accepted\n");
            std::fflush(stdout);
        });
        drag->exec(Qt::CopyAction);
    }

private:
    QList<QUrl> m_files;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QList<QUrl> files;
    for (const QString& path : QApplication::arguments().mid(1))
        files.append(QUrl::fromLocalFile(path));
    DragSource source(files);
    source.move(800, 100);
    source.show();
    return QApplication::exec();
}
