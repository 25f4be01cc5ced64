#pragma once

#include <QObject>
#include <QStringList>

#include <thread>

class QApplication;

namespace kivo {

// What the program sets up before its windows: its names, which place the
// profile, and the texts of its interface language (Kivo's own and those of
// Qt's buttons and dialogs), chosen by the user's interface languages.
void SetUpApplication(QApplication& application);

// Starts reading the font configuration on a thread of its own; called
// before the application is made. The main window's first measured text
// needs it, and on the main thread it was the largest single part of
// start-up. Read beside the connection to the display and the making of the
// windows, it is mostly done when the first text is measured. The thread
// joins when the returned object goes.
std::jthread ReadFontConfigurationAhead();

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
