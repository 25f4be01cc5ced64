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
    // brought to the front on the later ones.
    static HelpWindow* Show(QWidget* parent);

    QTextBrowser* Browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

}  // namespace kivo
