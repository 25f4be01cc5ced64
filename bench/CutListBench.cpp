// Speed of the cut-list core, each figure beside its reference measured in
// the same run:
//  - saving and reading back a 10,000-object scenario with a picture per
//    object, against copying the same file with cp and syncing the copy;
//  - saving a 100,000-object scenario over 1,000 files, half of them with a
//    picture, against cp and sync of the same file (goal: at most 2x);
//  - Lookup in a 100,000-entry media cache (goal: under 100 ns), beside the
//    cost of one random memory read on the same machine;
//  - sorting 100,000 objects by name, against std::sort of the same names;
//  - the random order of 100,000 objects, against the same at 10,000;
//  - adding 1,000,000 objects in the loader's small batches, per object,
//    against the same at 100,000 (a cost that grows with the list shows).

#include "CommandTime.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/RandomOrder.h"
#include "cutlist/ScenarioFile.h"
#include "cutlist/Sorting.h"

#include <QHash>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <malloc.h>
#include <random>
#include <string>

namespace kivo {
namespace {

// Paths of a realistic media collection, a third of them with Japanese names.
QString MediaPath(int i)
{
    static const char16_t* const folders[] = {u"/home/user/Videos/holiday", u"/home/user/ビデオ/旅行 2019",
                                              u"/media/usb/DCIM/100CANON"};
    static const char16_t* const names[] = {u"clip", u"ｸﾘｯﾌﾟ", u"Movie", u"運動会"};
    return QStringLiteral("%1/%2_%3.mpg")
        .arg(QString::fromUtf16(folders[i % 3]), QString::fromUtf16(names[(i / 3) % 4]))
        .arg((i * 7919) % 100003, 6, 10, QLatin1Char('0'));
}

Thumbnail Picture(int i)
{
    auto image = std::make_shared<QImage>(64, 48, QImage::Format_RGB32);
    image->fill(QColor::fromHsv(i % 360, 200, 200));
    return image;
}

// A cut list of `count` examined objects, each with its cache entry.
struct Fixture {
    CutListModel list;
    CMediaInfoCache cache;

    Fixture(int count, bool pictures)
    {
        for (int i = 0; i < count; ++i) {
            MEDIARECORD record;
            record.strPath = MediaPath(i);
            record.dwSize = 1000000 + static_cast<quint64>(i);
            record.timeModified = 1600000000 + i;
            record.nLength = 6000 + i;
            if (pictures)
                record.pThumbnail = Picture(i);
            cache.Add(record);
            list.AddObject(record, QImage(), false);
        }
    }
};

// A cut list of 100,000 objects over 1,000 files, as a scenario of many
// copies of a collection has it: each file's entry, and the picture of every
// other file, shared by its objects.
struct LargeFixture {
    CutListModel list;
    CMediaInfoCache cache;

    LargeFixture()
    {
        std::vector<MEDIARECORD> files;
        for (int i = 0; i < 1000; ++i) {
            MEDIARECORD record;
            record.strPath = MediaPath(i);
            record.dwSize = 1000000 + static_cast<quint64>(i);
            record.timeModified = 1600000000 + i;
            record.nLength = 6000 + i;
            if (i % 2 == 0)
                record.pThumbnail = Picture(i);
            cache.Add(record);
            files.push_back(record);
        }
        for (int i = 0; i < 100000; ++i) {
            const MEDIARECORD& file = files[static_cast<size_t>(i % 1000)];
            list.AddObject(file, file.pThumbnail ? *file.pThumbnail : QImage(), false);
        }
    }
};

// Saves the list into `path`; a failure ends the benchmark with its reason.
bool Save(benchmark::State& state, const QString& path, const CutListModel& list, CMediaInfoCache& cache)
{
    const std::optional<WriteFailure> failure = SaveScenarioFile(path, list, cache, 0);
    if (!failure)
        return true;
    state.SkipWithError(failure->reason.toUtf8().constData());
    return false;
}

// The reference of a save: copying the scenario file of `list` and syncing
// the copy, timed over the benchmark's iterations.
void CopyAndSync(benchmark::State& state, const CutListModel& list, CMediaInfoCache& cache)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.kvo"));
    if (!Save(state, path, list, cache))
        return;
    for (auto _ : state) {
        if (bench::CopyAndSyncSeconds(path, path + QStringLiteral(".copy")) < 0)
            state.SkipWithError("cp or sync failed");
    }
}

void ScenarioSave(benchmark::State& state)
{
    LargeFixture fixture;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.kvo"));
    for (auto _ : state)
        Save(state, path, fixture.list, fixture.cache);
}

void SaveCopyAndSyncReference(benchmark::State& state)
{
    LargeFixture fixture;
    CopyAndSync(state, fixture.list, fixture.cache);
}

void ScenarioSaveAndRead(benchmark::State& state)
{
    Fixture fixture(10000, true);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.kvo"));
    for (auto _ : state) {
        if (!Save(state, path, fixture.list, fixture.cache))
            break;
        const ScenarioReadResult result = ReadScenarioFile(path);
        CMediaInfoCache cache;
        AddScenarioCacheEntries(result.scenario, cache);
        benchmark::DoNotOptimize(cache.GetSize());
    }
}

void CopyAndSyncReference(benchmark::State& state)
{
    Fixture fixture(10000, true);
    CopyAndSync(state, fixture.list, fixture.cache);
}

// One dependent read of a random place in memory (a pointer chase over
// 256 MB): the unit a lookup in a large cache pays for its misses.
void MemoryReadReference(benchmark::State& state)
{
    std::vector<std::uint32_t> next(size_t{1} << 26);
    for (size_t i = 0; i < next.size(); ++i)
        next[i] = static_cast<std::uint32_t>(i);
    // Sattolo's shuffle: one cycle through every element.
    std::mt19937 random(5);
    for (size_t i = next.size() - 1; i > 0; --i)
        std::swap(next[i], next[std::uniform_int_distribution<size_t>(0, i - 1)(random)]);
    std::uint32_t at = 0;
    for (auto _ : state) {
        at = next[at];
        benchmark::DoNotOptimize(at);
    }
}

// Lookups of the list's own paths, as the status summary and the scenario
// writer make them: in list order, and after the list was shuffled (so that
// consecutive lookups land far apart in memory).
void CacheLookup(benchmark::State& state)
{
    Fixture fixture(100000, false);
    if (state.range(0) != 0)
        fixture.list.ApplyOrder(RandomOrder(17, fixture.list.GetItemCount()));
    std::vector<QString> paths;
    for (int position = 0; position < fixture.list.GetItemCount(); ++position)
        paths.push_back(fixture.list.GetItemPath(position));
    fixture.cache.Lookup(QString());  // builds the index
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fixture.cache.Lookup(paths[next]));
        next = next + 1 == paths.size() ? 0 : next + 1;
    }
}

// The plain library form of the cache's index, for comparison: a QHash
// from each path to its entry, looked up in the same shuffled order.
void QHashLookupReference(benchmark::State& state)
{
    Fixture fixture(100000, false);
    fixture.list.ApplyOrder(RandomOrder(17, fixture.list.GetItemCount()));
    QHash<QString, MEDIARECORD> byPath;
    std::vector<QString> paths;
    for (int position = 0; position < fixture.list.GetItemCount(); ++position) {
        paths.push_back(fixture.list.GetItemPath(position));
        byPath.insert(paths.back(), fixture.cache.Lookup(paths.back()));
    }
    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(byPath.value(paths[next]));
        next = next + 1 == paths.size() ? 0 : next + 1;
    }
}

// A file examined while a list is loaded: its entry joins the cache, and
// the next file is looked up; the same at 1,000 entries and at 100,000.
// Every other file is one the cache knew before it changed.
void CacheAddAndLookup(benchmark::State& state)
{
    const auto entries = static_cast<int>(state.range(0));
    Fixture fixture(entries, false);
    std::vector<MEDIARECORD> added(static_cast<size_t>(state.max_iterations));
    for (size_t i = 0; i < added.size(); ++i) {
        const int file = static_cast<int>(i);
        added[i].strPath = MediaPath(file % 2 == 0 ? file + 200000 : file % entries);
        added[i].dwSize = i;
    }
    fixture.cache.Lookup(QString());  // builds the index
    size_t next = 0;
    for (auto _ : state) {
        fixture.cache.Add(added[next]);
        benchmark::DoNotOptimize(fixture.cache.Lookup(fixture.list.GetItemPath(static_cast<int>(next) % 1000)));
        ++next;
    }
}

std::vector<int> Shuffled(int count)
{
    std::vector<int> order(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        order[static_cast<size_t>(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(2));
    return order;
}

void SortByName(benchmark::State& state)
{
    Fixture fixture(100000, false);
    const std::vector<int> shuffle = Shuffled(100000);
    for (auto _ : state) {
        state.PauseTiming();
        fixture.list.ApplyOrder(shuffle);
        state.ResumeTiming();
        SortCutList(fixture.list, SortKey::Name, false);
    }
}

void StdSortReference(benchmark::State& state)
{
    std::vector<std::string> names;
    for (int i : Shuffled(100000))
        names.push_back(MediaPath(i).toStdString());
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::string> copy = names;
        state.ResumeTiming();
        std::sort(copy.begin(), copy.end());
        benchmark::DoNotOptimize(copy.data());
    }
}

void RandomOrderOfList(benchmark::State& state)
{
    Fixture fixture(static_cast<int>(state.range(0)), false);
    int seed = 0;
    for (auto _ : state) {
        fixture.list.ApplyOrder(RandomOrder(seed, fixture.list.GetItemCount()));
        seed = (seed + 37) % 256;
    }
}

// Each figure is the median of several repetitions: this machine's timings
// vary from run to run.
BENCHMARK(ScenarioSaveAndRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(3);
BENCHMARK(CopyAndSyncReference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(3);
BENCHMARK(ScenarioSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(SaveCopyAndSyncReference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(MemoryReadReference)->Unit(benchmark::kNanosecond)->Iterations(1000000)->Repetitions(5);
BENCHMARK(CacheLookup)->Arg(0)->Arg(1)->Unit(benchmark::kNanosecond)->Iterations(1000000)->Repetitions(5);
BENCHMARK(QHashLookupReference)->Unit(benchmark::kNanosecond)->Iterations(1000000)->Repetitions(5);
BENCHMARK(CacheAddAndLookup)->Arg(1000)->Arg(100000)->Unit(benchmark::kNanosecond)->Iterations(20000)->Repetitions(5);
// Objects added as the loader adds them: a few hundred at a time into a
// list that grows; the time per object. Each run starts with the memory of
// the one before handed back to the system, so that both sizes pay for
// touching fresh pages: otherwise the smaller list reuses pages the C
// library kept while the larger one, beyond its threshold for mapping
// memory, never does.
void AddInBatches(benchmark::State& state)
{
    constexpr int kBatch = 250;
    const int count = static_cast<int>(state.range(0));
    QImage picture(64, 48, QImage::Format_RGB32);
    std::vector<MediaObject> batch(kBatch, MediaObject{MEDIARECORD{}, picture});
    for (int i = 0; i < kBatch; ++i) {
        batch[static_cast<size_t>(i)].record.strPath = MediaPath(i);
        batch[static_cast<size_t>(i)].record.nFlag = kFlagValid;
    }
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        state.ResumeTiming();
        CutListModel list;
        for (int added = 0; added < count; added += kBatch)
            list.AddObjects(batch, false);
        benchmark::DoNotOptimize(list.GetItemCount());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

BENCHMARK(SortByName)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);
BENCHMARK(StdSortReference)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);
BENCHMARK(RandomOrderOfList)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);
BENCHMARK(AddInBatches)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// Prints the usual table and keeps each benchmark's time for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            m_times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }

    void PrintSummary() const
    {
        const auto time = [this](const std::string& name) {
            const auto found = m_times.find(name + "_median");
            return found == m_times.end() ? 0.0 : found->second;
        };
        std::printf("\n%-44s %14s %30s %8s %s\n", "figure", "measured", "reference", "ratio", "goal");
        Line("save + read back, 10,000 objects", time("ScenarioSaveAndRead/iterations:3/repeats:3/real_time"), "ms",
             "cp + sync", time("CopyAndSyncReference/iterations:3/repeats:3/real_time"), "<= 3x");
        Line("save, 100,000 objects over 1,000 files", time("ScenarioSave/iterations:1/repeats:3/real_time"), "ms",
             "cp + sync", time("SaveCopyAndSyncReference/iterations:1/repeats:3/real_time"), "<= 2x");
        const double memoryRead = time("MemoryReadReference/iterations:1000000/repeats:5");
        Line("Lookup, 100,000 entries, list order", time("CacheLookup/0/iterations:1000000/repeats:5"), "ns",
             "one random memory read", memoryRead, "< 100 ns");
        Line("Lookup, 100,000 entries, shuffled list", time("CacheLookup/1/iterations:1000000/repeats:5"), "ns",
             "one random memory read", memoryRead, "< 100 ns");
        Line("Lookup, 100,000 entries, shuffled list", time("CacheLookup/1/iterations:1000000/repeats:5"), "ns",
             "QHash<QString> of the paths", time("QHashLookupReference/iterations:1000000/repeats:5"), "<= 1x");
        Line("add an entry, look one up, 100,000 entries", time("CacheAddAndLookup/100000/iterations:20000/repeats:5"),
             "ns", "1,000 entries", time("CacheAddAndLookup/1000/iterations:20000/repeats:5"), "<= 2x");
        Line("sort by name, 100,000 objects", time("SortByName/min_time:0.500/repeats:5"), "ms", "std::sort of the names",
             time("StdSortReference/min_time:0.500/repeats:5"), "<= 3x");
        Line("random order, 100,000 objects", time("RandomOrderOfList/100000/min_time:0.500/repeats:5"), "ms",
             "10,000 objects", time("RandomOrderOfList/10000/min_time:0.500/repeats:5"), "<= 12x");
        // Per object: the whole time in ms, times a million ns, over the count.
        Line("add in batches, 1,000,000 objects, per object", time("AddInBatches/1000000/iterations:1/repeats:3") * 1.0,
             "ns", "100,000 objects", time("AddInBatches/100000/iterations:1/repeats:3") * 10.0, "<= 1.5x");
    }

private:
    static void Line(const char* figure, double measured, const char* unit, const char* reference,
                     double referenceTime, const char* goal)
    {
        std::printf("%-44s %11.2f %-2s %18s %8.2f %-2s %7.2fx %s\n", figure, measured, unit, reference,
                    referenceTime, unit, referenceTime > 0 ? measured / referenceTime : 0.0, goal);
    }

    std::map<std::string, double> m_times;
};

}  // namespace
}  // namespace kivo

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    kivo::SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
