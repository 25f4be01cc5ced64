// Fuzz target of the mount-table parser and the drive list built from it.
// Any input must parse without a crash or an out-of-bounds access; every
// entry has its three fields, every drive text starts with its mount point,
// a stored text adds at most its folder, and the drive selected for any
// stored text is one of the list.

#include "FuzzRequire.h"
#include "cutlist/Drives.h"

#include <QFile>

#include <cstdint>

using namespace kivo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::vector<MountEntry> mounts = ParseMountTable(input);
    for (const MountEntry& mount : mounts)
        Require(!mount.device.isEmpty() && !mount.mountPoint.isEmpty() && !mount.type.isEmpty());

    std::vector<Drive> drives = DrivesOf(mounts, [](const MountEntry& mount) {
        return DeviceFacts{mount.device.size() % 2 == 1, QFile::decodeName(mount.type)};
    });
    Require(drives.size() <= mounts.size());

    // The first line doubles as the stored "mediapath", which may name a
    // chosen folder.
    const qsizetype lineEnd = input.indexOf('\n');
    const QString stored = QFile::decodeName(input.first(lineEnd < 0 ? input.size() : lineEnd).toByteArray());
    const size_t count = drives.size();
    AddStoredFolder(drives, stored);
    Require(drives.size() <= count + 1);
    for (const Drive& drive : drives) {
        Require(drive.mountPoint.startsWith('/'));
        Require(drive.text.startsWith(QFile::decodeName(drive.mountPoint)));
    }
    const int selected = SelectDrive(drives, stored);
    Require(drives.empty() ? selected == -1 : selected >= 0 && static_cast<size_t>(selected) < drives.size());
    for (const Drive& drive : drives) {
        for (const QByteArray& below : MountPointsBelow(mounts, drive.mountPoint))
            Require(below.size() > drive.mountPoint.size() && below.startsWith(drive.mountPoint));
    }
    return 0;
}
