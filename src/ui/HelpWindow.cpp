#include "ui/HelpWindow.h"

#include "session/WindowPlacement.h"
#include "ui/CommandActions.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

namespace kivo {

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent), m_browser(new QTextBrowser(this))
{
    setWindowTitle(tr("Kivo ﾍﾙﾌﾟ"));
    resize(640, 480);
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);

    QToolBar* bar = addToolBar(tr("ﾅﾋﾞｹﾞｰﾄ"));
    bar->setMovable(false);
    QAction* back = bar->addAction(StandardIcon(QStyle::SP_ArrowBack), tr("戻る"),
                                   m_browser, &QTextBrowser::backward);
    QAction* forward = bar->addAction(StandardIcon(QStyle::SP_ArrowForward), tr("進む"),
                                      m_browser, &QTextBrowser::forward);
    bar->addAction(StandardIcon(QStyle::SP_DirHomeIcon), tr("目次"), m_browser,
                   &QTextBrowser::home);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    // Each language's pages link among themselves; the translation names
    // its language's first page.
    m_browser->setSource(QUrl(tr("qrc:/help/index.html", "the help's first page in the interface's language")));
}

HelpWindow* HelpWindow::Show(QWidget* parent)
{
    auto* window = parent ? parent->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    const bool made = window == nullptr;
    if (made) {
        window = new HelpWindow(parent);
        // Without an owner the window goes when it is closed.
        if (!parent)
            window->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (!window->isVisible())
        window->PlaceOnOwnersScreen(made);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void HelpWindow::PlaceOnOwnersScreen(bool centred)
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    // The help's frame is taken to be as wide as the owner's; before it is
    // first shown it has none yet.
    const QMargins frame = owner ? FrameMargins(*owner) : QMargins();
    const QRect outer = centred ? CentreOver(size().grownBy(frame), owner ? owner->frameGeometry() : screen->geometry(),
                                             screen->availableGeometry())
                                : FitOnScreen(frameGeometry(), screen->availableGeometry());
    resize(outer.size().shrunkBy(frame));
    move(outer.topLeft());
}

QMargins HelpWindow::FrameMargins(const QWidget& window)
{
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

}  // namespace kivo
