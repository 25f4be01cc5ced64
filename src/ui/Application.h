#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class QApplication;

namespace kivo {

// What the program sets up before its windows: its names, which place the
// profile, and the texts of its interface language (Kivo's own and those of
// Qt's buttons and dialogs), chosen by the user's interface languages.
void SetUpApplication(QApplication& application);

// Whether the desktop started a session bus: its address is set (and is
// not the one StartApplication gives), or it listens in the
// user's runtime folder.
bool SessionHasBus();

// Makes the program's QApplication as Kivo231 starts, before any other
// thread and before anything of Qt:
//  - Without a bus of the session's, D-Bus would launch one as Qt's
//    accessibility bridge connects, while the main window is being made:
//    the program forks, and the bus it starts serves no one. The bus's
//    address is made one that D-Bus refuses at once.
//  - Qt's X11 backing store shares its image with the X server (MIT-SHM),
//    and waits for the server each time it draws again where the server may
//    still be reading: while a file plays, a wake of the main thread each
//    time the position bar's handle moves. The parts the program redraws
//    while it plays are small, and sent in the request they cost a copy and
//    no wait, so the store does without the shared image. A setting of the
//    user's own stands.
//  - The font configuration, which the first text a window measures would
//    wait for, needs no display: it is read on a thread of its own while
//    QApplication connects to the display.
std::unique_ptr<QApplication> StartApplication(int& argc, char** argv);

// The texts of one interface language, installed while this lives: Kivo's
// own translation (none for Japanese, the language its texts are written
// in) and Qt's.
class InterfaceTexts : public QObject {
public:
    // `uiLanguages` as QLocale::uiLanguages() gives them.
    explicit InterfaceTexts(const QStringList& uiLanguages, QObject* parent = nullptr);
    // The language code of the texts shown ("ja", "en").
    const QString& Language() const { return m_language; }

private:
    QString m_language;
};

}  // namespace kivo
