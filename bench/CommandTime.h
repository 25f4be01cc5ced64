#pragma once

// How long a command takes, as a benchmark's reference.

#include <QElapsedTimer>
#include <QFile>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace kivo::bench {

// Runs `argv` (ended by nullptr; the program is looked up on PATH) with its
// output sent to /dev/null, and answers the seconds until it ended, or -1
// when it could not be started.
inline double CommandSeconds(const char* const* argv)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t child = 0;
    const bool started = posix_spawnp(&child, argv[0], &actions, nullptr, const_cast<char**>(argv), environ) == 0;
    int status = 0;
    if (started)
        ::waitpid(child, &status, 0);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    posix_spawn_file_actions_destroy(&actions);
    return started ? seconds : -1;
}

// The reference of a save: copying `path` to `copy` with cp and syncing the
// copy, in seconds; -1 when either could not be started or failed.
inline double CopyAndSyncSeconds(const QString& path, const QString& copy)
{
    const QByteArray from = QFile::encodeName(path), to = QFile::encodeName(copy);
    const char* const copying[] = {"cp", from.constData(), to.constData(), nullptr};
    const char* const syncing[] = {"sync", to.constData(), nullptr};
    const double copied = CommandSeconds(copying);
    const double synced = copied < 0 || !QFile::exists(copy) ? -1 : CommandSeconds(syncing);
    return synced < 0 ? -1 : copied + synced;
}

}  // namespace kivo::bench
