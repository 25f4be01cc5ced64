#pragma once

#include <QString>
#include <QStringList>

namespace kivo {

class Settings;

// Where the file-type registration looks and writes.
struct FileTypePlaces {
    // Searched for the program file, in this order: the running program's
    // folder, the current folder, then the folders of `path` (a value in the
    // form of the PATH variable). The update tools are looked for on `path`.
    QString programFolder;
    QString currentFolder;
    QString path;
    // The user's XDG data folder (~/.local/share), where the MIME package,
    // the desktop entry and the icons go.
    QString dataFolder;
    // The system's XDG data folders, first one first, where an installed
    // package has put its desktop entry.
    QStringList systemDataFolders;

    // The running program's folder, the current folder, $PATH, the user's
    // XDG data folder and the system's ($XDG_DATA_DIRS, by default
    // /usr/local/share and /usr/share).
    static FileTypePlaces Current();
};

// The MIME type of scenario files (*.kvo).
inline constexpr char kScenarioMimeType[] = "application/x-kivo-scenario";

// The program file "Kivo231" found first in the search order of `places`,
// as an absolute path; empty when there is none. Only an executable regular
// file (or a link to one) counts.
QString FindProgramFile(const FileTypePlaces& places);

// Makes scenario files open Kivo from the desktop, once per user: the first
// time the program file is found while "FileType" is 0, "FileType" is set to
// 1 and the rest is left to Qt's global thread pool (which the application
// waits for as it ends), so the call returns at once. When the desktop entry
// found first in the system data folders runs that program file (an
// installed package), nothing more is done: the package's own entry, MIME
// package and icons stand. Otherwise the MIME package, the installed desktop
// entry (dist/kivo.desktop, under its own name, with every kind of file the
// program opens) with the program file in its Exec, and the icons are
// written into the data folder, and update-mime-database,
// update-desktop-database and gtk-update-icon-cache are started detached
// when they are on the path. Every failure is silent, and a failed write is
// not retried at a later start.
void RegisterFileType(Settings& settings);
void RegisterFileType(Settings& settings, const FileTypePlaces& places);

}  // namespace kivo
