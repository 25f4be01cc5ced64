#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <vector>

namespace kivo {

// One line of the mount table (/proc/self/mounts), escapes decoded.
struct MountEntry {
    QByteArray device;
    QByteArray mountPoint;
    QByteArray type;
};

// The entries of a mount table in the kernel's format: device, mount point,
// type, options, ... separated by blanks, with the octal escapes \040 (blank),
// \011 (tab), \012 (new line) and \134 (backslash). Lines with fewer than
// three fields are left out.
std::vector<MountEntry> ParseMountTable(QByteArrayView table);

// Home and Folder are not drives but folders searched like one: the home
// folder and a folder the user chose.
enum class DriveType { Fixed, Removable, Floppy, Remote, CdRom, RamDisk, Home, Folder };

// What the block device of a mount says about itself.
struct DeviceFacts {
    bool removable = false;
    QString label;
};
using DeviceProbe = std::function<DeviceFacts(const MountEntry& mount)>;

// A drive of the media search: a mounted file system, or a folder, the user
// may choose.
struct Drive {
    // Where the walk starts: the mount point, or the folder.
    QByteArray mountPoint;
    DriveType type = DriveType::Fixed;
    // The text of the drive list: the mount point and its kind, such as
    // "/media/cdrom MOVIES [CD-ROM]", "/home/me [ﾎｰﾑ ﾌｫﾙﾀﾞ]" or
    // "/home/me/Videos [ﾌｫﾙﾀﾞ]".
    QString text;
};

// The drives of a mount table, sorted by their texts: pseudo file systems
// and the system's own places (/proc, /sys, /dev, /run but /run/media) are
// left out, and of several mounts on one place only the last, visible one
// is kept. `probe` is asked only about removable or CD-ROM candidates.
std::vector<Drive> DrivesOf(const std::vector<MountEntry>& mounts, const DeviceProbe& probe);

// The drives of this system, from /proc/self/mounts, with the devices'
// removable flags from /sys and CD labels from /dev/disk/by-label, and the
// home folder. Nothing mounted is touched, so a hanging network mount cannot
// stall the caller.
std::vector<Drive> ListDrives();
std::vector<MountEntry> ReadMountTable();

// Adds the entry of the folder `path` (`type` Home or Folder) in text order,
// unless an entry starts there already; the index of the entry starting at
// `path`.
int AddFolder(std::vector<Drive>& drives, const QByteArray& path, DriveType type);

// Adds the entry of a folder the stored "mediapath" names (the text of a
// chosen folder's entry), so that SelectDrive finds it. The folder is not
// looked at: it may be on a network mount that hangs.
void AddStoredFolder(std::vector<Drive>& drives, const QString& stored);

// The drive to select for the stored "mediapath": the entry with that very
// text, else the one whose mount point it is, else the one whose mount point
// it starts with (a CD relabelled since), else the root file system's entry,
// else the first; -1 when there are no drives.
int SelectDrive(const std::vector<Drive>& drives, const QString& stored);

// The mount points strictly below `root`: the walk of a drive stays out of
// them.
std::vector<QByteArray> MountPointsBelow(const std::vector<MountEntry>& mounts, const QByteArray& root);

}  // namespace kivo
