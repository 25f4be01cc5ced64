#include "cutlist/MediaSearch.h"

#include "cutlist/FileNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <unordered_set>
#include <utility>

namespace kivo {

std::vector<std::string> ExtensionList(const MediaChoices& choices)
{
    std::vector<std::string> list;
    const auto add = [&](bool on, std::initializer_list<const char*> extensions) {
        if (on)
            list.insert(list.end(), extensions.begin(), extensions.end());
    };
    add(choices.midi, {".MID"});
    add(choices.mpeg, {".MPG", ".MPEG", ".MPV", ".MP2", ".MPA", ".MPE"});
    add(choices.vcd, {".DAT"});
    add(choices.avi, {".AVI"});
    add(choices.mov, {".MOV", ".QT"});
    add(choices.wav, {".WAV"});
    add(choices.au, {".AU", ".SND"});
    add(choices.aiff, {".AIF", ".AIFC", ".AIFF"});
    add(choices.mp3, {".MP3"});
    add(choices.realMedia, {".RA", ".RM"});
    for (size_t i = 0; i < kTodaysMediaKinds.size(); ++i) {
        if (!choices.todays[i])
            continue;
        // "*.mp4 *.m4v" as ".MP4", ".M4V".
        for (const QString& pattern : QString::fromUtf16(kTodaysMediaKinds[i].patterns).split(u' '))
            list.push_back(pattern.sliced(1).toUpper().toStdString());
    }
    return list;
}

bool MatchesExtension(std::string_view name, const std::vector<std::string>& extensions)
{
    const size_t dot = name.rfind('.');
    const std::string_view extension = dot == std::string_view::npos ? name : name.substr(dot);
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (const std::string& wanted : extensions) {
        if (wanted.size() == extension.size()
            && std::equal(extension.begin(), extension.end(), wanted.begin(),
                          [&](char a, char b) { return upper(a) == b; }))
            return true;
    }
    return false;
}

namespace {

class Walk {
public:
    Walk(const std::vector<std::string>& extensions, bool allFiles, const SearchControl& control)
        : m_extensions(extensions), m_allFiles(allFiles), m_control(control)
    {
        for (const QByteArray& folder : control.skippedFolders)
            m_skipped.insert(folder.toStdString());
    }

    SearchResult Run(const QByteArray& root)
    {
        m_lastReport = std::chrono::steady_clock::now();
        Report(true);
        std::string path = root.toStdString();
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat status {};
        if (fd >= 0 && ::fstat(fd, &status) == 0) {
            m_device = status.st_dev;
            if (path == "/")
                path.clear();  // children are "/" + name
            Descend(path, fd, status.st_ino);
        } else if (fd >= 0) {
            ::close(fd);
        }
        KeepFilesOnce();
        Report(true);
        SearchResult result;
        result.counts = m_counts;
        result.cancelled = Cancelled();
        result.paths.reserve(static_cast<qsizetype>(m_hits.size()));
        for (const std::string& hit : m_hits)
            result.paths.append(FileNameFromBytes(hit));
        return result;
    }

private:
    // Device and inode number of a file.
    using FileId = std::pair<dev_t, ino_t>;
    struct Entry {
        enum class Kind { Folder, File, Link };
        std::string name;
        Kind kind;
        // Of a file: the inode number its folder gives (no device). Of a
        // link: the file it leads to.
        FileId id{};
    };
    // One open folder: its wanted entries in enumeration order and the next
    // one to handle.
    struct Frame {
        size_t pathLength;
        ino_t inode;
        std::vector<Entry> entries;
        size_t next = 0;
    };

    bool Cancelled() const { return m_control.cancel && m_control.cancel->load(std::memory_order_relaxed); }

    void Report(bool always)
    {
        if (!m_control.progress)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (always || now - m_lastReport >= m_control.progressInterval) {
            m_lastReport = now;
            m_control.progress(m_counts);
        }
    }

    // Reads the folder open as `fd` (closing it) into a new frame.
    void Enter(std::string& path, int fd, ino_t inode)
    {
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            return;
        }
        ++m_counts.folders;
        Frame frame{path.size(), inode, {}};
        size_t seen = 0;
        while (const dirent* entry = ::readdir(dir)) {
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            if ((++seen & 4095) == 0 && Cancelled())
                break;
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                struct stat status {};
                if (IsSkipped(path, name) || ::fstatat(::dirfd(dir), name, &status, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;
                type = S_ISDIR(status.st_mode)   ? DT_DIR
                       : S_ISREG(status.st_mode) ? DT_REG
                       : S_ISLNK(status.st_mode) ? DT_LNK
                                                 : DT_UNKNOWN;
            }
            if (type == DT_DIR) {
                frame.entries.push_back({name, Entry::Kind::Folder});
            } else if ((type == DT_REG || type == DT_LNK) && (m_allFiles || MatchesExtension(name, m_extensions))) {
                // A link counts by its own name, as the user sees it, and
                // only when it leads to a regular file: a link to a folder
                // is never followed, so no loop can arise, and stat() opens
                // nothing, so a link to a FIFO or a device cannot block.
                struct stat target {};
                if (type == DT_REG)
                    frame.entries.push_back({name, Entry::Kind::File, {0, entry->d_ino}});
                else if (::fstatat(::dirfd(dir), name, &target, 0) == 0 && S_ISREG(target.st_mode))
                    frame.entries.push_back({name, Entry::Kind::Link, {target.st_dev, target.st_ino}});
            }
        }
        ::closedir(dir);
        m_stack.push_back(std::move(frame));
        Report(false);
    }

    bool IsSkipped(const std::string& path, const char* name) const
    {
        if (m_skipped.empty())
            return false;
        return m_skipped.count(path + '/' + name) > 0;
    }

    bool IsAncestor(ino_t inode) const
    {
        return std::any_of(m_stack.begin(), m_stack.end(), [inode](const Frame& frame) { return frame.inode == inode; });
    }

    void Descend(std::string& path, int rootFd, ino_t rootInode)
    {
        Enter(path, rootFd, rootInode);
        while (!m_stack.empty()) {
            if (Cancelled())
                return;
            Frame& frame = m_stack.back();
            if (frame.next == frame.entries.size()) {
                m_stack.pop_back();
                if (!m_stack.empty())
                    path.resize(m_stack.back().pathLength);
                continue;
            }
            const Entry& entry = frame.entries[frame.next++];
            path.resize(frame.pathLength);
            path += '/';
            path += entry.name;
            if (entry.kind == Entry::Kind::File) {
                m_hits.push_back(path);
                m_hitInodes.push_back(entry.id.second);
                ++m_counts.hits;
                continue;
            }
            if (entry.kind == Entry::Kind::Link) {
                AddLink(path, entry.id);
                continue;
            }
            if (!m_skipped.empty() && m_skipped.count(path))
                continue;
            // O_NOFOLLOW: a folder replaced by a link meanwhile is not followed.
            const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0)
                continue;
            struct stat status {};
            if (::fstat(fd, &status) != 0 || status.st_dev != m_device || IsAncestor(status.st_ino)) {
                ::close(fd);
                continue;
            }
            Enter(path, fd, status.st_ino);  // may reallocate m_stack: `frame` is stale now
        }
    }

    // A file is found once however many links lead to it. Of several links
    // the first path in byte order is kept, whatever order the folders come
    // in; the path is the link's own, so the object is named as the user
    // sees the file.
    void AddLink(const std::string& path, const FileId& target)
    {
        const auto [kept, added] = m_links.try_emplace(target, m_hits.size());
        if (!added) {
            std::string& other = m_hits[kept->second];
            if (other <= path)
                return;
            other.clear();  // left out by KeepFilesOnce()
            kept->second = m_hits.size();
        } else {
            ++m_counts.hits;
        }
        m_hits.push_back(path);
        m_hitInodes.push_back(0);
    }

    // A file found both as itself and through links is kept as itself, its
    // real place. Only the files whose folder gives the inode number of a
    // link's file are looked at, so that a single link does not cost a stat()
    // of every hit. (Where a file system's folders give other numbers than
    // stat(), as some overlay set-ups do, such a file is found twice.)
    void KeepFilesOnce()
    {
        if (m_links.empty())
            return;
        std::unordered_set<ino_t> targets;
        for (const auto& link : m_links)
            targets.insert(link.first.second);
        for (size_t i = 0; i < m_hits.size() && !Cancelled(); ++i) {
            struct stat status {};
            if (m_hits[i].empty() || !targets.count(m_hitInodes[i]) || ::stat(m_hits[i].c_str(), &status) != 0)
                continue;
            const auto link = m_links.find({status.st_dev, status.st_ino});
            if (link != m_links.end() && !m_hits[link->second].empty()) {
                m_hits[link->second].clear();
                --m_counts.hits;
            }
        }
        std::erase(m_hits, std::string());
    }

    const std::vector<std::string>& m_extensions;
    const bool m_allFiles;
    const SearchControl& m_control;
    std::unordered_set<std::string> m_skipped;
    dev_t m_device = 0;
    std::vector<Frame> m_stack;
    std::vector<std::string> m_hits;
    // Of each hit that is a file, the inode number its folder gives; 0 for
    // a link.
    std::vector<ino_t> m_hitInodes;
    // The hit kept for each file found through links.
    std::map<FileId, size_t> m_links;
    SearchCounts m_counts;
    std::chrono::steady_clock::time_point m_lastReport;
};

}  // namespace

SearchResult SearchFolder(const QByteArray& folder, const std::vector<std::string>& extensions, bool allFiles,
                          const SearchControl& control)
{
    return Walk(extensions, allFiles, control).Run(folder);
}

}  // namespace kivo
