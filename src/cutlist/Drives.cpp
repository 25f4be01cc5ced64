#include "cutlist/Drives.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

namespace kivo {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsOctal(char c)
{
    return c >= '0' && c <= '7';
}

QByteArray Unescape(QByteArrayView field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
            const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            if (value <= 0xFF) {
                out.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return out;
}

bool StartsWith(const QByteArray& path, std::string_view folder)
{
    const QByteArrayView prefix(folder.data(), static_cast<qsizetype>(folder.size()));
    return path == prefix || (path.startsWith(prefix) && path.at(prefix.size()) == '/');
}

bool IsPseudo(const MountEntry& mount)
{
    static constexpr std::array<std::string_view, 26> kPseudoTypes = {
        "autofs",    "binfmt_misc", "bpf",       "cgroup",      "cgroup2",         "configfs",  "debugfs",
        "devpts",    "devtmpfs",    "efivarfs",  "fusectl",     "hugetlbfs",       "mqueue",    "nsfs",
        "proc",      "pstore",      "rootfs",    "rpc_pipefs",  "securityfs",      "selinuxfs", "sysfs",
        "tracefs",   "fuse.lxcfs",  "fuse.portal", "fuse.gvfsd-fuse", "fuse.snapfuse",
    };
    const std::string_view type(mount.type.constData(), static_cast<size_t>(mount.type.size()));
    if (std::find(kPseudoTypes.begin(), kPseudoTypes.end(), type) != kPseudoTypes.end())
        return true;
    if (mount.mountPoint.isEmpty() || mount.mountPoint.at(0) != '/')
        return true;
    // The system's own places; removable media appear under /run/media.
    if (StartsWith(mount.mountPoint, "/run/media"))
        return false;
    return StartsWith(mount.mountPoint, "/proc") || StartsWith(mount.mountPoint, "/sys")
           || StartsWith(mount.mountPoint, "/dev") || StartsWith(mount.mountPoint, "/run");
}

bool IsRemote(const MountEntry& mount)
{
    static constexpr std::array<std::string_view, 24> kRemoteTypes = {
        "nfs",         "nfs4",       "cifs",        "smb3",       "smbfs",       "ncpfs",
        "afs",         "coda",       "ceph",        "glusterfs",  "lustre",      "9p",
        "davfs",       "fuse.sshfs", "fuse.rclone", "fuse.s3fs",  "fuse.davfs2", "fuse.glusterfs",
        "fuse.cephfs", "fuse.smbnetfs", "fuse.curlftpfs", "fuse.gcsfuse", "fuse.goofys", "fuse.mfs",
    };
    const std::string_view type(mount.type.constData(), static_cast<size_t>(mount.type.size()));
    if (std::find(kRemoteTypes.begin(), kRemoteTypes.end(), type) != kRemoteTypes.end())
        return true;
    // host:/path and //host/share name a network source whatever the type.
    return mount.device.startsWith("//") || (!mount.device.startsWith('/') && mount.device.contains(":/"));
}

DriveType TypeOf(const MountEntry& mount, const DeviceProbe& probe, DeviceFacts& facts)
{
    if (mount.type == "iso9660" || mount.type == "udf") {
        facts = probe(mount);
        return DriveType::CdRom;
    }
    if (IsRemote(mount))
        return DriveType::Remote;
    if (mount.type == "tmpfs" || mount.type == "ramfs")
        return DriveType::RamDisk;
    if (mount.device.startsWith("/dev/fd") && mount.device.size() > 7 && mount.device.at(7) >= '0'
        && mount.device.at(7) <= '9')
        return DriveType::Floppy;
    if (StartsWith(mount.mountPoint, "/media") || StartsWith(mount.mountPoint, "/run/media"))
        return DriveType::Removable;
    if (mount.device.startsWith("/dev/")) {
        facts = probe(mount);
        if (facts.removable)
            return DriveType::Removable;
    }
    return DriveType::Fixed;
}

QString DriveText(const QString& name, DriveType type, const QString& label)
{
    switch (type) {
    case DriveType::Floppy:
        return name + QCoreApplication::translate("Drives", " [3.5 ｲﾝﾁ ﾌﾛｯﾋﾟｰﾃﾞｨｽｸ]");
    case DriveType::Removable:
        return name + QCoreApplication::translate("Drives", " [ﾘﾑｰﾊﾞﾌﾞﾙ ﾃﾞｨｽｸ]");
    case DriveType::Remote:
        return name + QCoreApplication::translate("Drives", " [ﾈｯﾄﾜｰｸ接続]");
    case DriveType::CdRom:
        return name + QStringLiteral(" %1").arg(label) + QStringLiteral(" [CD-ROM]");
    case DriveType::RamDisk:
        return name + QCoreApplication::translate("Drives", " [RAM ﾃﾞｨｽｸ]");
    case DriveType::Home:
        return name + QCoreApplication::translate("Drives", " [ﾎｰﾑ ﾌｫﾙﾀﾞ]");
    case DriveType::Folder:
        return name + QCoreApplication::translate("Drives", " [ﾌｫﾙﾀﾞ]");
    case DriveType::Fixed:
        break;
    }
    return name;
}

// udev writes the labels in /dev/disk/by-label with \xHH escapes.
QString DecodeUdevName(const QString& name)
{
    QByteArray bytes = QFile::encodeName(name);
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bool ok = false;
        if (bytes[i] == '\\' && i + 3 < bytes.size() && bytes[i + 1] == 'x') {
            const int value = bytes.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.append(bytes[i]);
    }
    return QString::fromUtf8(out);
}

// Only /sys and /dev are read here: both answer at once.
DeviceFacts ProbeDevice(const MountEntry& mount)
{
    DeviceFacts facts;
    const QString device = QFile::decodeName(mount.device);
    if (!device.startsWith(QLatin1String("/dev/")))
        return facts;
    const QString real = QFileInfo(device).canonicalFilePath();
    if (real.isEmpty())
        return facts;
    const QString block = QStringLiteral("/sys/class/block/") + QFileInfo(real).fileName();
    for (const QString& path : {block + QStringLiteral("/removable"), block + QStringLiteral("/../removable")}) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            facts.removable = file.read(4).trimmed() == "1";
            break;
        }
    }
    if (mount.type == "iso9660" || mount.type == "udf") {
        const QDir labels(QStringLiteral("/dev/disk/by-label"));
        for (const QFileInfo& link : labels.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
            if (link.canonicalFilePath() == real) {
                facts.label = DecodeUdevName(link.fileName());
                break;
            }
        }
    }
    return facts;
}

}  // namespace

std::vector<MountEntry> ParseMountTable(QByteArrayView table)
{
    std::vector<MountEntry> entries;
    qsizetype start = 0;
    while (start < table.size()) {
        qsizetype end = start;
        while (end < table.size() && table[end] != '\n')
            ++end;
        const QByteArrayView line = table.sliced(start, end - start);
        start = end + 1;

        std::array<QByteArray, 3> fields;
        size_t count = 0;
        qsizetype i = 0;
        while (count < fields.size()) {
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            if (i == line.size())
                break;
            const qsizetype fieldStart = i;
            while (i < line.size() && !IsBlank(line[i]))
                ++i;
            fields[count++] = Unescape(line.sliced(fieldStart, i - fieldStart));
        }
        if (count == fields.size())
            entries.push_back({fields[0], fields[1], fields[2]});
    }
    return entries;
}

std::vector<Drive> DrivesOf(const std::vector<MountEntry>& mounts, const DeviceProbe& probe)
{
    // A later mount on the same place hides the earlier one.
    std::map<QByteArray, const MountEntry*> visible;
    for (const MountEntry& mount : mounts)
        visible[mount.mountPoint] = &mount;

    std::vector<Drive> drives;
    for (const auto& [mountPoint, mount] : visible) {
        if (IsPseudo(*mount))
            continue;
        DeviceFacts facts;
        const DriveType type = TypeOf(*mount, probe, facts);
        drives.push_back({mountPoint, type, DriveText(QFile::decodeName(mountPoint), type, facts.label)});
    }
    std::sort(drives.begin(), drives.end(), [](const Drive& a, const Drive& b) { return a.text < b.text; });
    return drives;
}

std::vector<MountEntry> ReadMountTable()
{
    QFile file(QStringLiteral("/proc/self/mounts"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A file of the proc file system has no size; read it to its end.
    return ParseMountTable(file.readAll());
}

std::vector<Drive> ListDrives()
{
    std::vector<Drive> drives = DrivesOf(ReadMountTable(), ProbeDevice);
    AddFolder(drives, QFile::encodeName(QDir::homePath()), DriveType::Home);
    return drives;
}

int AddFolder(std::vector<Drive>& drives, const QByteArray& path, DriveType type)
{
    const auto same =
        std::find_if(drives.begin(), drives.end(), [&](const Drive& drive) { return drive.mountPoint == path; });
    if (same != drives.end())
        return static_cast<int>(same - drives.begin());
    Drive folder{path, type, DriveText(QFile::decodeName(path), type, {})};
    const auto place = std::upper_bound(drives.begin(), drives.end(), folder.text,
                                        [](const QString& text, const Drive& drive) { return text < drive.text; });
    const auto index = place - drives.begin();
    drives.insert(place, std::move(folder));
    return static_cast<int>(index);
}

void AddStoredFolder(std::vector<Drive>& drives, const QString& stored)
{
    const QString label = DriveText({}, DriveType::Folder, {});
    if (stored.startsWith(QLatin1Char('/')) && stored.endsWith(label))
        AddFolder(drives, QFile::encodeName(stored.chopped(label.size())), DriveType::Folder);
}

int SelectDrive(const std::vector<Drive>& drives, const QString& stored)
{
    if (drives.empty())
        return -1;
    const auto indexOf = [&](auto&& matches) -> int {
        const auto found = std::find_if(drives.begin(), drives.end(), matches);
        return found == drives.end() ? -1 : static_cast<int>(found - drives.begin());
    };
    int index = indexOf([&](const Drive& drive) { return drive.text == stored; });
    if (index < 0) {
        const QByteArray path = QFile::encodeName(stored);
        index = indexOf([&](const Drive& drive) { return drive.mountPoint == path; });
        if (index < 0) {
            qsizetype longest = -1;
            for (size_t i = 0; i < drives.size(); ++i) {
                const QByteArray& mountPoint = drives[i].mountPoint;
                if (mountPoint.size() > longest && path.startsWith(mountPoint + ' ')) {
                    longest = mountPoint.size();
                    index = static_cast<int>(i);
                }
            }
        }
    }
    if (index < 0)
        index = indexOf([](const Drive& drive) { return drive.mountPoint == "/"; });
    return std::max(index, 0);
}

std::vector<QByteArray> MountPointsBelow(const std::vector<MountEntry>& mounts, const QByteArray& root)
{
    std::vector<QByteArray> below;
    const QByteArray prefix = root.endsWith('/') ? root : root + '/';
    for (const MountEntry& mount : mounts) {
        if (mount.mountPoint.size() > prefix.size() && mount.mountPoint.startsWith(prefix))
            below.push_back(mount.mountPoint);
    }
    return below;
}

}  // namespace kivo
