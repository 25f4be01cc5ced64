// A window that drags files, as a file manager does: a press anywhere in it
// starts a drag of the files named on the command line, and "accepted" is
// printed once a window under the pointer takes them. The end-to-end runs
// drop them on Kivo with real pointer moves.

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class DragSource : public QWidget {
protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* files = new QMimeData;
        for (const QString& path : QApplication::arguments().mid(1))
            files->setUrls(files->urls() << QUrl::fromLocalFile(path));
        auto* drag = new QDrag(this);
        drag->setMimeData(files);
        connect(drag, &QDrag::actionChanged, this, [](Qt::DropAction action) {
            if (action != Qt::IgnoreAction)
                std::printf("accepted\n");
            std::fflush(stdout);
        });
        drag->exec(Qt::CopyAction);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    DragSource source;
    source.setWindowTitle(QStringLiteral("drag source"));
    source.setGeometry(800, 100, 200, 150);
    source.show();
    return QApplication::exec();
}
