#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace kivo {

class CutListModel;

enum class SortKey { Name, MediaTime, Size, Type, Date };
constexpr int kSortKeyCount = 5;

// The sort key of a column-header click in the details view; the state
// column (2) sorts nothing.
std::optional<SortKey> SortKeyForColumn(int column);

// The order of the cut list sorted by `key`: element i is the current
// position of the object that goes to position i. Names compare by their
// CP932 bytes with A-Z taken as a-z; media times and sizes by their texts
// right-aligned in 20 places with leading zeros (numeric order); types by
// their CP932 bytes; dates chronologically, objects without a date first.
// Objects with equal keys keep their order.
std::vector<int> SortedOrder(const CutListModel& list, SortKey key, bool descending);

// Sorts the cut list in place.
void SortCutList(CutListModel& list, SortKey key, bool descending);

// The direction of each sort key, shared by every document of a run: the
// first sort by a key is ascending, the next by the same key descending,
// and a sort by another key starts ascending again.
class SortDirections {
public:
    bool IsDescending(SortKey key) const { return m_descending[static_cast<std::size_t>(key)]; }
    // After a sort by `key`: reverses its direction and resets the others.
    void Toggle(SortKey key);

private:
    std::array<bool, kSortKeyCount> m_descending{};
};

}  // namespace kivo
