// Writes the hand-built scenario samples, and one of names that are not
// UTF-8, as the seed corpus of the scenario reader's fuzz target. Usage:
// write_seed_corpus SEED_DIR WORK_DIR (the work folder is only created).

#include "ScenarioSamples.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_seed_corpus SEED_DIR WORK_DIR\n");
        return 1;
    }
    const QString seeds = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(seeds) || !QDir().mkpath(QString::fromLocal8Bit(argv[2])))
        return 1;

    // Files cut short, counts beyond the file and other magics are a few
    // mutations away from these; names whose bytes are not UTF-8, lone
    // surrogates in the wide form, are not.
    std::vector<QByteArray> files = kivo::samples::AllSamples();
    const QByteArray escaped = kivo::samples::Wide(u"/m/bad\xDCFF\xDCFE.avi");
    files.push_back(kivo::samples::Bytes().Str("KivoDSv30").I32(1).Raw(escaped).I32(0).I32(0).I32(0).Raw(escaped)
                        .U32(1).I32(2).I32(3).U32(0).Raw(escaped).Data());

    for (size_t i = 0; i < files.size(); ++i) {
        QFile file(QStringLiteral("%1/seed-%2.kvo").arg(seeds).arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(files[i]) != files[i].size())
            return 1;
    }
    return 0;
}
