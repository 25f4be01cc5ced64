#include "cutlist/RandomOrder.h"

#include <QDateTime>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

namespace kivo {
namespace {

// A sequence with removal and insertion at any position: the values in
// blocks of a few hundred, found through a Fenwick tree of the blocks'
// sizes. A move shifts at most two short blocks in memory, so that its cost
// hardly grows with the length of the list.
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

    void Move(int from, int to)
    {
        auto [fromBlock, fromOffset] = Locate(from);
        std::vector<int>& source = m_blocks[fromBlock];
        const int moved = source[fromOffset];
        source.erase(source.begin() + fromOffset);
        Add(fromBlock, -1);

        // After the last value: the end of the last block.
        auto [toBlock, toOffset] = to < m_total ? Locate(to) : std::pair(m_blocks.size() - 1, m_blocks.back().size());
        std::vector<int>& target = m_blocks[toBlock];
        target.insert(target.begin() + static_cast<std::ptrdiff_t>(toOffset), moved);
        Add(toBlock, 1);
        if (target.size() > 2 * size_t{kBlockSize})
            Split(toBlock);
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
    static constexpr int kBlockSize = 512;

    // The block holding `position`, and the offset in it.
    std::pair<size_t, size_t> Locate(int position) const
    {
        // The Fenwick tree's descent: the last block whose predecessors
        // hold no more than `position` values.
        size_t block = 0;
        for (size_t step = std::bit_floor(m_tree.size()); step > 0; step /= 2) {
            if (block + step <= m_tree.size() && m_tree[block + step - 1] <= position) {
                block += step;
                position -= m_tree[block - 1];
            }
        }
        return {block, static_cast<size_t>(position)};
    }

    void Add(size_t block, int change)
    {
        m_total += change;
        for (size_t node = block + 1; node <= m_tree.size(); node += node & (~node + 1))
            m_tree[node - 1] += change;
    }

    void Split(size_t block)
    {
        std::vector<int>& full = m_blocks[block];
        std::vector<int> second(full.begin() + kBlockSize, full.end());
        full.resize(kBlockSize);
        m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(second));
        CountBlocks();
    }

    // Builds the Fenwick tree over the blocks' sizes.
    void CountBlocks()
    {
        m_tree.assign(m_blocks.size(), 0);
        m_total = 0;
        for (size_t block = 0; block < m_blocks.size(); ++block)
            Add(block, static_cast<int>(m_blocks[block].size()));
    }

    std::vector<std::vector<int>> m_blocks;
    std::vector<int> m_tree;
    int m_total = 0;
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
    Sequence sequence(count);
    const auto& table = RandomTable();
    for (int pass = 0; pass < 2; ++pass) {
        for (int position = 0; position < count; ++position) {
            const int r = table[static_cast<size_t>((seed + position) % 256)];
            // In doubles: r * count overflows 32 bits for large lists.
            const auto target = static_cast<int>(static_cast<double>(r) * count * 0.00003051850947599719);
            sequence.Move(position, target);
        }
    }
    return sequence.Values();
}

}  // namespace kivo
