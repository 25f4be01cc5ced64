// Fuzz target of the scenario reader. Any input must be read without a crash
// or an out-of-bounds access, in memory bounded by the input; whatever reads
// successfully must also survive adding its media information to a cache
// and a save of the resulting cut list, which must read back unchanged.

#include "FuzzRequire.h"
#include "cutlist/Archive.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ScenarioFile.h"

#include <QBuffer>

#include <cstdint>

using namespace kivo;

namespace {

ScenarioReadResult ReadBytes(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadScenario(buffer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ScenarioReadResult result =
        ReadBytes(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (result.status != ScenarioStatus::Ok)
        return 0;
    const Scenario& scenario = result.scenario;

    CMediaInfoCache cache;
    AddScenarioCacheEntries(scenario, cache);
    CutListModel list;
    for (qsizetype i = 0; i < scenario.paths.size(); ++i) {
        MEDIARECORD record = cache.Lookup(scenario.paths[i]);
        record.strPath = scenario.paths[i];
        list.AddObject(record, QImage(), false);
        if (i < scenario.names.size())
            list.SetItemText(static_cast<int>(i), CutListModel::kColumnName, scenario.names[i]);
    }
    list.SetCurrent(list.GetItemData(scenario.current));

    QBuffer saved;
    saved.open(QIODevice::WriteOnly);
    ArchiveWriter archive(saved);
    WriteScenario(archive, ScenarioOfCutList(list, cache, scenario.position));
    Require(archive.Finish());

    const ScenarioReadResult again = ReadBytes(saved.data());
    Require(again.status == ScenarioStatus::Ok);
    Require(again.scenario.paths == scenario.paths);
    Require(again.scenario.position == scenario.position);
    if (scenario.version >= 30)
        Require(again.scenario.names == scenario.names);
    return 0;
}
