#include "ui/MediaFileDialog.h"

#include "core/Settings.h"
#include "cutlist/AddingMedia.h"
#include "cutlist/ShownText.h"

#include <QLineEdit>
#include <QMessageBox>

namespace kivo {

MediaFileDialog::MediaFileDialog(Settings& settings, QWidget* parent)
    : QFileDialog(parent, tr("ﾒﾃﾞｨｱﾌｧｲﾙを開く"), settings.Get(setting::kOpenFileDir)), m_settings(settings)
{
    setFileMode(QFileDialog::ExistingFiles);
    setOption(QFileDialog::HideNameFilterDetails);
    setNameFilters(MediaFileFilters());
    // The stored row counts from 1; 0 (nothing stored) is the first row.
    const int row = settings.Get(setting::kOpenFileFilterIndex);
    selectNameFilter(MediaFileFilters().value(row > 0 ? row - 1 : 0));
}

QStringList MediaFileDialog::Choose()
{
    const bool confirmed = exec() == QDialog::Accepted;
    m_settings.Set(setting::kOpenFileFilterIndex, MediaFileFilterRow(selectedNameFilter()) + 1);
    m_settings.Set(setting::kOpenFileDir, directory().absolutePath());
    if (!confirmed)
        return {};
    return m_typed.isEmpty() ? selectedFiles() : m_typed;
}

void MediaFileDialog::accept()
{
    // Qt's dialog takes the names its row shows and drops the others.
    const auto* nameField = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    m_typed = nameField != nullptr ? TypedFileNames(nameField->text(), directory().absolutePath()) : QStringList();
    for (const QString& typed : std::as_const(m_typed)) {
        if (!QFileInfo(typed).isFile()) {
            QMessageBox::warning(this, windowTitle(),
                                 tr("%1\nファイルが見つかりません。ファイル名を確認してください。")
                                     .arg(ShownFileName(typed)));
            m_typed.clear();
            return;
        }
    }
    QFileDialog::accept();
}

}  // namespace kivo
