#pragma once

#include <QString>
#include <QStringList>

namespace kivo {

// The paths a drop adds: a dropped file itself (also one whose status
// cannot be read), and of a dropped folder its own files in the order the
// file system lists them, never what its subfolders hold.
QStringList ExpandDroppedPaths(const QStringList& dropped);

// Whether a drop opens a scenario document instead of adding media: when
// its last item's name ends in ".kvo", in any letter case.
bool DropOpensScenario(const QStringList& dropped);
// Whether a drop opens a document instead of adding media: a scenario as
// above, or a playlist dropped alone, which opens as a new cut list.
bool DropOpensDocument(const QStringList& dropped);

// Shown when a drop yields no file (the Japanese source text).
inline constexpr char kNoFilesInFolderMessage[] = QT_TRANSLATE_NOOP("AddingMedia", "フォルダにファイルが存在しません。");

// The files a user typed into a file dialog's name field as quoted names
// ("a.mpg" "b.wav"), in typed order, relative to `folder` unless absolute;
// nothing when the text holds no quoted name.
QStringList TypedFileNames(const QString& text, const QString& folder);

// The rows of the open-media-files dialog, in Qt's filter form: the
// description as the user reads it, then its patterns. The older kinds and
// "すべてのﾌｧｲﾙ (*.*)" come first, then today's kinds and
// "すべてのﾒﾃﾞｨｱﾌｧｲﾙ", which lists every kind.
QStringList MediaFileFilters();
// The last row of every other file dialog of the program:
// "すべてのﾌｧｲﾙ (*.*)", which shows every file, also those without a dot in
// their names.
QString AllFilesFilter();
// The row of a filter as a file dialog names it, with its patterns or, when
// it hides them, without; 0 (the first row) for a name of no row.
int MediaFileFilterRow(const QString& filter);
// Whether a file's name ends in the extension of a kind of media file those
// rows name, in any letter case.
bool IsMediaFileName(QStringView path);
// The MIME types of the media files those rows name, as the system's MIME
// database knows them, each once.
QStringList MediaMimeTypes();

}  // namespace kivo
