// Speed of the media search's walk of a drive against `find ROOT -type f`
// over the same tree in the same run: 200,000 empty files in 20,000 folders,
// generated once. Both list every file (the walk with "All files" on, so
// each file is a hit and gets its path); the caches are warm for both, and
// each figure is the best of several runs. Goal: at most 1.5x.
//
// Usage: search_bench TREE_DIR

#include "CommandTime.h"
#include "cutlist/MediaSearch.h"

#include <QElapsedTimer>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// 100 folders of 199 folders each: 20,000 folders, each with 10 files.
constexpr int kTopFolders = 100;
constexpr int kFoldersEach = 199;
constexpr int kFilesEach = 10;
constexpr int kRuns = 5;

bool MakeTree(const std::string& root)
{
    const std::string done = root + ".complete";
    if (::access(done.c_str(), F_OK) == 0)
        return true;
    std::printf("generating %s ...\n", root.c_str());
    const char* extensions[] = {".mpg", ".avi", ".wav", ".txt", ".MP3", ".jpg", ".mid", ".dat", ".mov", ".doc"};
    ::mkdir(root.c_str(), 0755);
    const auto touch = [](const std::string& path) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
        return fd >= 0;
    };
    for (int top = 0; top < kTopFolders; ++top) {
        const std::string topPath = root + "/dir" + std::to_string(top);
        ::mkdir(topPath.c_str(), 0755);
        for (int file = 0; file < kFilesEach; ++file) {
            if (!touch(topPath + "/top" + std::to_string(file) + extensions[(file + top) % 10]))
                return false;
        }
        for (int sub = 0; sub < kFoldersEach; ++sub) {
            const std::string subPath = topPath + "/sub" + std::to_string(sub);
            ::mkdir(subPath.c_str(), 0755);
            for (int file = 0; file < kFilesEach; ++file) {
                if (!touch(subPath + "/clip" + std::to_string(file) + extensions[(file + sub) % 10]))
                    return false;
            }
        }
    }
    return touch(done);
}

double FindSeconds(const std::string& root)
{
    const char* argv[] = {"find", root.c_str(), "-type", "f", nullptr};
    return kivo::bench::CommandSeconds(argv);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: search_bench TREE_DIR\n");
        return 1;
    }
    const std::string root = argv[1];
    if (!MakeTree(root)) {
        std::fprintf(stderr, "cannot make the tree in %s\n", root.c_str());
        return 1;
    }
    double walk = 1e9;
    double find = 1e9;
    qsizetype hits = 0;
    std::uint64_t folders = 0;
    FindSeconds(root);  // warms the caches
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const kivo::SearchResult result = kivo::SearchFolder(QFile::encodeName(QString::fromStdString(root)), {}, true);
        walk = std::min(walk, static_cast<double>(timer.nsecsElapsed()) / 1e9);
        hits = result.paths.size();
        folders = result.counts.folders;
        find = std::min(find, FindSeconds(root));
    }
    std::printf("walk of a drive, %lld files in %llu folders: %.1f ms; find -type f: %.1f ms; ratio %.2fx (goal: at "
                "most 1.5x)\n",
                static_cast<long long>(hits), static_cast<unsigned long long>(folders), walk * 1e3, find * 1e3,
                walk / find);
    return 0;
}
