#include "ui/HelpWindow.h"

#include "ui/CommandActions.h"

#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>

namespace kivo {

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent), m_browser(new QTextBrowser(this))
{
    setWindowTitle(QStringLiteral("Kivo ﾍﾙﾌﾟ"));
    resize(640, 480);
    m_browser->setOpenExternalLinks(true);
    setCentralWidget(m_browser);

    QToolBar* bar = addToolBar(QStringLiteral("ﾅﾋﾞｹﾞｰﾄ"));
    bar->setMovable(false);
    QAction* back = bar->addAction(StandardIcon(QStyle::SP_ArrowBack), QStringLiteral("戻る"),
                                   m_browser, &QTextBrowser::backward);
    QAction* forward = bar->addAction(StandardIcon(QStyle::SP_ArrowForward), QStringLiteral("進む"),
                                      m_browser, &QTextBrowser::forward);
    bar->addAction(StandardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("目次"), m_browser,
                   &QTextBrowser::home);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
}

HelpWindow* HelpWindow::Show(QWidget* parent)
{
    auto* window = parent ? parent->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) {
        window = new HelpWindow(parent);
        // Without an owner the window goes when it is closed.
        if (!parent)
            window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace kivo
