#include "cutlist/RandomOrder.h"

#include <QDateTime>

#include <cstdint>
#include <utility>

namespace kivo {
namespace {

// A sequence with removal and insertion at any position in O(log n): an
// implicit treap whose in-order walk is the sequence.
class Sequence {
public:
    explicit Sequence(int count) : m_nodes(static_cast<size_t>(count) + 1)
    {
        std::uint32_t random = 2463534242u;
        for (int value = 0; value < count; ++value) {
            random ^= random << 13;
            random ^= random >> 17;
            random ^= random << 5;
            Node& node = m_nodes[static_cast<size_t>(value) + 1];
            node.priority = random;
            node.size = 1;
            m_root = Merge(m_root, value + 1);
        }
    }

    void Move(int from, int to)
    {
        int moved = 0;
        m_root = EraseAt(m_root, from, moved);
        m_root = InsertAt(m_root, to, moved);
    }

    std::vector<int> Values() const
    {
        std::vector<int> values;
        values.reserve(m_nodes.size() - 1);
        std::vector<int> stack;
        int node = m_root;
        while (node != 0 || !stack.empty()) {
            while (node != 0) {
                stack.push_back(node);
                node = At(node).left;
            }
            node = stack.back();
            stack.pop_back();
            values.push_back(node - 1);
            node = At(node).right;
        }
        return values;
    }

private:
    // Node v + 1 holds the element that started at position v; node 0 is
    // the empty tree, of size 0.
    struct Node {
        int left = 0;
        int right = 0;
        int size = 0;
        std::uint32_t priority = 0;
    };

    Node& At(int node) { return m_nodes[static_cast<size_t>(node)]; }
    const Node& At(int node) const { return m_nodes[static_cast<size_t>(node)]; }

    void Update(int node) { At(node).size = 1 + At(At(node).left).size + At(At(node).right).size; }

    int Merge(int left, int right)
    {
        if (left == 0 || right == 0)
            return left + right;
        if (At(left).priority > At(right).priority) {
            At(left).right = Merge(At(left).right, right);
            Update(left);
            return left;
        }
        At(right).left = Merge(left, At(right).left);
        Update(right);
        return right;
    }

    // Takes the element at `position` out of `tree` into `removed`.
    int EraseAt(int tree, int position, int& removed)
    {
        const int leftSize = At(At(tree).left).size;
        if (position == leftSize) {
            removed = tree;
            return Merge(At(tree).left, At(tree).right);
        }
        if (position < leftSize)
            At(tree).left = EraseAt(At(tree).left, position, removed);
        else
            At(tree).right = EraseAt(At(tree).right, position - leftSize - 1, removed);
        Update(tree);
        return tree;
    }

    // Puts the single `node` into `tree` at `position`.
    int InsertAt(int tree, int position, int node)
    {
        if (tree == 0 || At(node).priority > At(tree).priority) {
            auto [left, right] = Split(tree, position);
            At(node).left = left;
            At(node).right = right;
            Update(node);
            return node;
        }
        const int leftSize = At(At(tree).left).size;
        if (position <= leftSize)
            At(tree).left = InsertAt(At(tree).left, position, node);
        else
            At(tree).right = InsertAt(At(tree).right, position - leftSize - 1, node);
        Update(tree);
        return tree;
    }

    // The first `count` elements of `tree`, and the rest.
    std::pair<int, int> Split(int tree, int count)
    {
        if (tree == 0)
            return {0, 0};
        if (At(At(tree).left).size >= count) {
            auto [left, right] = Split(At(tree).left, count);
            At(tree).left = right;
            Update(tree);
            return {left, tree};
        }
        auto [left, right] = Split(At(tree).right, count - At(At(tree).left).size - 1);
        At(tree).right = left;
        Update(tree);
        return {tree, right};
    }

    std::vector<Node> m_nodes;
    int m_root = 0;
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
