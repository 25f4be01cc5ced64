#pragma once

#include <QString>

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

    // The running program's folder, the current folder, $PATH and the
    // user's XDG data folder.
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
// 1 and the MIME package, the desktop entry and the icons are written into
// the data folder; update-mime-database and update-desktop-database are then
// started in the background when they are on the path. Every failure is
// silent, and a failed write is not retried at a later start. Returns at
// once: nothing waits for the update tools.
void RegisterFileType(Settings& settings);
void RegisterFileType(Settings& settings, const FileTypePlaces& places);

}  // namespace kivo
