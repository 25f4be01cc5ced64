#pragma once

#include <QMainWindow>

class QTextBrowser;

namespace kivo {

// The help pages shipped inside the program (":/help/"), in a window of
// their own with back, forward and contents buttons. It does not block the
// window it belongs to.
class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the help window of the parent, made on the first call and
    // brought to the front on the later ones. It opens whole on the screen
    // of the parent's window: the first time centred over that window, later
    // where the user left it, as far as that screen shows it.
    static HelpWindow* Show(QWidget* parent);

    QTextBrowser* Browser() const { return m_browser; }

private:
    void PlaceOnOwnersScreen(bool centred);
    // The sides of a window's frame around its inside.
    static QMargins FrameMargins(const QWidget& window);

    QTextBrowser* m_browser;
};

}  // namespace kivo
