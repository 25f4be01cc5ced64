#include "cutlist/RandomOrder.h"

#include <QDateTime>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace kivo {
namespace {

// A sequence with removal and insertion at any position: the values in
// blocks of a few hundred, whose sizes are kept side by side and summed per
// group of blocks, so that a position is found by two short scans. A move
// shifts at most two short blocks in memory, so that its cost hardly grows
// with the length of the list.
class Sequence {
public:
    explicit Sequence(int count)
    {
        for (int first = 0; first < count; first += kBlockSize) {
            std::vector<int>& block = m_blocks.emplace_back();
            for (int value = first; value < std::min(count, first + kBlockSize); ++value)
                block.push_back(value);
        }
        CountBlocks();
    }

    // Moves the value at `from` to `to`. A pass moves from every position in
    // turn, so the place of `from` is followed on from the last one rather
    // than looked for.
    void Move(int from, int to)
    {
        const auto [fromBlock, fromOffset] = Follow(from);
        std::vector<int>& source = m_blocks[fromBlock];
        const int moved = source[fromOffset];
        source.erase(source.begin() + static_cast<std::ptrdiff_t>(fromOffset));
        Add(fromBlock, -1);

        // After the last value: the end of the last block.
        auto [toBlock, toOffset] = to < m_total ? Locate(to) : std::pair(m_blocks.size() - 1, m_blocks.back().size());
        std::vector<int>& target = m_blocks[toBlock];
        target.insert(target.begin() + static_cast<std::ptrdiff_t>(toOffset), moved);
        Add(toBlock, 1);
        if (toBlock < m_followedBlock)
            ++m_followedStart;
        if (target.size() > 2 * size_t{kBlockSize}) {
            Split(toBlock);
            if (toBlock < m_followedBlock)
                ++m_followedBlock;
        }
    }

    std::vector<int> Values() const
    {
        std::vector<int> values;
        values.reserve(static_cast<size_t>(m_total));
        for (const std::vector<int>& block : m_blocks)
            values.insert(values.end(), block.begin(), block.end());
        return values;
    }

private:
    static constexpr int kBlockSize = 192;
    static constexpr size_t kGroupSize = 16;

    // The block holding `position`, and the offset in it.
    std::pair<size_t, size_t> Locate(int position) const
    {
        size_t block = 0;
        for (size_t group = 0; position >= m_groupCounts[group]; ++group, block += kGroupSize)
            position -= m_groupCounts[group];
        for (; position >= m_counts[block]; ++block)
            position -= m_counts[block];
        return {block, static_cast<size_t>(position)};
    }

    // The same for a position after the one followed last, from where that
    // one lay.
    std::pair<size_t, size_t> Follow(int position)
    {
        while (position - m_followedStart >= m_counts[m_followedBlock]) {
            m_followedStart += m_counts[m_followedBlock];
            ++m_followedBlock;
        }
        return {m_followedBlock, static_cast<size_t>(position - m_followedStart)};
    }

    void Add(size_t block, int change)
    {
        m_total += change;
        m_counts[block] += change;
        m_groupCounts[block / kGroupSize] += change;
    }

    void Split(size_t block)
    {
        std::vector<int>& full = m_blocks[block];
        std::vector<int> second(full.begin() + kBlockSize, full.end());
        full.resize(kBlockSize);
        m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(second));
        CountBlocks();
    }

    // Counts the values of each block and each group of blocks.
    void CountBlocks()
    {
        m_counts.assign(m_blocks.size(), 0);
        m_groupCounts.assign((m_blocks.size() + kGroupSize - 1) / kGroupSize, 0);
        m_total = 0;
        for (size_t block = 0; block < m_blocks.size(); ++block)
            Add(block, static_cast<int>(m_blocks[block].size()));
    }

    std::vector<std::vector<int>> m_blocks;
    std::vector<int> m_counts;
    std::vector<int> m_groupCounts;
    int m_total = 0;
    // The block of the position followed last, and the position it starts at.
    size_t m_followedBlock = 0;
    int m_followedStart = 0;
};

}  // namespace

const std::array<int, 256>& RandomTable()
{
    static const std::array<int, 256> table = [] {
        std::array<int, 256> values{};
        std::uint32_t x = 1;
        for (int& value : values) {
            x = x * 214013u + 2531011u;
            value = static_cast<int>((x >> 16) & 0x7FFF);
        }
        return values;
    }();
    return table;
}

int RandomSeed(int minutes, int seconds, int milliseconds)
{
    const int t = milliseconds + 1000 * seconds + 60000 * (minutes % 10);
    return static_cast<int>(t * 0.00042666666666666667);
}

int RandomSeedFromClock()
{
    const QTime now = QDateTime::currentDateTimeUtc().time();
    return RandomSeed(now.minute(), now.second(), now.msec());
}

std::vector<int> RandomOrder(int seed, int count)
{
    if (count <= 0)
        return {};
    seed = (seed % 256 + 256) % 256;
    // A pass chooses its moves by positions alone, so the second pass
    // rearranges the first one's result exactly as the first rearranged the
    // starting order: the pass is worked out once and applied twice.
    Sequence sequence(count);
    const auto& table = RandomTable();
    for (int position = 0; position < count; ++position) {
        const int r = table[static_cast<size_t>((seed + position) % 256)];
        // In doubles: r * count overflows 32 bits for large lists.
        const auto target = static_cast<int>(static_cast<double>(r) * count * 0.00003051850947599719);
        sequence.Move(position, target);
    }
    const std::vector<int> pass = sequence.Values();
    std::vector<int> order(pass.size());
    for (size_t position = 0; position < pass.size(); ++position)
        order[position] = pass[static_cast<size_t>(pass[position])];
    return order;
}

}  // namespace kivo
