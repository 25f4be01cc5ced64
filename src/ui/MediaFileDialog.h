#pragma once

#include <QFileDialog>

namespace kivo {

class Settings;

// The open-media-files dialog: Qt's file dialog over the media rows, which
// starts in the folder and on the row last used and keeps both. Names typed
// between quotes are all taken, also those the chosen row does not show.
class MediaFileDialog : public QFileDialog {
    Q_OBJECT

public:
    MediaFileDialog(Settings& settings, QWidget* parent = nullptr);

    // Runs the dialog; the chosen files in the order given, or nothing when
    // the user cancels. The row and the folder are stored either way.
    QStringList Choose();

protected:
    void accept() override;

private:
    Settings& m_settings;
    QStringList m_typed;
};

}  // namespace kivo
