#include "cutlist/RandomOrder.h"

#include <QDateTime>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <utility>

namespace kivo {
namespace {

// A sequence with removal and insertion at any position: the values in
// blocks of a few hundred, whose sizes are kept side by side and summed per
// group of blocks, so that a position is found by two short scans. A move
// shifts at most two short blocks in memory, so that its cost hardly grows
// with the length of the list. The blocks lie in one allocation, made once,
// so that they stay close together whatever else the program holds.
class Sequence {
public:
    explicit Sequence(int count)
        // A block is split when it is full, and only after it took
        // kBlockSize more values than it lost: a pass of `count` moves
        // makes at most count / kBlockSize new blocks.
        : m_values(std::make_unique_for_overwrite<int[]>((2 * static_cast<size_t>(count) / kBlockSize + 2) *
                                                         kCapacity))
    {
        for (int first = 0; first < count; first += kBlockSize) {
            const int size = std::min(count - first, kBlockSize);
            int* block = NewBlock(m_order.size());
            std::iota(block, block + size, first);
            m_counts.push_back(size);
        }
        CountBlocks();
    }

    // Moves the value at `from` to `to`. A pass moves from every position in
    // turn, so the place of `from` is followed on from the last one rather
    // than looked for.
    void Move(int from, int to)
    {
        const auto [fromBlock, fromOffset] = Follow(from);
        int* source = Data(fromBlock);
        const int moved = source[fromOffset];
        std::copy(source + fromOffset + 1, source + m_counts[fromBlock], source + fromOffset);
        Add(fromBlock, -1);

        // After the last value: the end of the last block.
        const auto [toBlock, toOffset] =
            to < m_total ? Locate(to) : std::pair(m_order.size() - 1, static_cast<size_t>(m_counts.back()));
        int* target = Data(toBlock);
        std::copy_backward(target + toOffset, target + m_counts[toBlock], target + m_counts[toBlock] + 1);
        target[toOffset] = moved;
        Add(toBlock, 1);
        if (toBlock < m_followedBlock)
            ++m_followedStart;
        if (m_counts[toBlock] == kCapacity) {
            Split(toBlock);
            if (toBlock < m_followedBlock)
                ++m_followedBlock;
        }
    }

    std::vector<int> Values() const
    {
        std::vector<int> values;
        values.reserve(static_cast<size_t>(m_total));
        for (size_t block = 0; block < m_order.size(); ++block)
            values.insert(values.end(), Data(block), Data(block) + m_counts[block]);
        return values;
    }

private:
    static constexpr int kBlockSize = 192;
    static constexpr int kCapacity = 2 * kBlockSize;
    static constexpr size_t kGroupSize = 16;

    int* Data(size_t block) { return &m_values[m_order[block] * size_t{kCapacity}]; }
    const int* Data(size_t block) const { return &m_values[m_order[block] * size_t{kCapacity}]; }

    // Takes the next free block of the allocation in as block `at`: blocks
    // are never given back, so it is the one after as many as are in use.
    int* NewBlock(size_t at)
    {
        m_order.insert(m_order.begin() + static_cast<std::ptrdiff_t>(at), m_order.size());
        return Data(at);
    }

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
        const int* full = Data(block);
        std::copy(full + kBlockSize, full + kCapacity, NewBlock(block + 1));
        m_counts[block] = kBlockSize;
        m_counts.insert(m_counts.begin() + static_cast<std::ptrdiff_t>(block) + 1, kCapacity - kBlockSize);
        CountBlocks();
    }

    // Sums the values of each group of blocks, and of all.
    void CountBlocks()
    {
        m_groupCounts.assign((m_counts.size() + kGroupSize - 1) / kGroupSize, 0);
        m_total = 0;
        for (size_t block = 0; block < m_counts.size(); ++block) {
            m_groupCounts[block / kGroupSize] += m_counts[block];
            m_total += m_counts[block];
        }
    }

    std::unique_ptr<int[]> m_values;
    // Which block of the allocation each block of the sequence is, in order.
    std::vector<size_t> m_order;
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
