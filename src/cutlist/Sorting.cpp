#include "cutlist/Sorting.h"

#include "cutlist/CutListModel.h"
#include "cutlist/TextEncoding.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <tuple>

namespace kivo {
namespace {

// The keys of all objects, side by side in one buffer so that building them
// allocates little and comparing them stays within a small piece of memory.
class ByteKeys {
public:
    struct Key {
        size_t offset;
        size_t length;
        int position;
    };

    template <typename AppendKey>
    ByteKeys(const CutListModel& list, int column, AppendKey appendKey)
    {
        m_keys.reserve(static_cast<size_t>(list.GetItemCount()));
        m_bytes.reserve(static_cast<size_t>(list.GetItemCount()) * 64);
        for (int position = 0; position < list.GetItemCount(); ++position) {
            const size_t offset = m_bytes.size();
            appendKey(list.GetItemText(position, column), m_bytes);
            m_keys.push_back({offset, m_bytes.size() - offset, position});
        }
    }

    // std::string_view compares bytes as unsigned values, a prefix before
    // the longer text.
    std::string_view Bytes(const Key& key) const { return {m_bytes.data() + key.offset, key.length}; }
    std::vector<Key>& Keys() { return m_keys; }

private:
    std::string m_bytes;
    std::vector<Key> m_keys;
};

// The positions in key order; equal keys keep their order in both directions.
template <typename Element, typename Less>
std::vector<int> StableOrder(std::vector<Element>& keys, bool descending, Less less)
{
    if (descending)
        std::stable_sort(keys.begin(), keys.end(), [&](const Element& a, const Element& b) { return less(b, a); });
    else
        std::stable_sort(keys.begin(), keys.end(), less);
    std::vector<int> order;
    order.reserve(keys.size());
    for (const Element& key : keys)
        order.push_back(key.position);
    return order;
}

template <typename AppendKey>
std::vector<int> ByteOrder(const CutListModel& list, int column, bool descending, AppendKey appendKey)
{
    ByteKeys keys(list, column, appendKey);
    return StableOrder(keys.Keys(), descending, [&keys](const ByteKeys::Key& a, const ByteKeys::Key& b) {
        return keys.Bytes(a) < keys.Bytes(b);
    });
}

void AppendNameKey(const QString& name, std::string& out)
{
    const size_t start = out.size();
    AppendCp932SortBytes(name, out);
    for (size_t i = start; i < out.size(); ++i) {
        if (out[i] >= 'A' && out[i] <= 'Z')
            out[i] = static_cast<char>(out[i] - 'A' + 'a');
    }
}

// The text as "%020s" would give it: right-aligned in 20 places, padded on
// the left with the digit 0; longer texts stay as they are.
void AppendNumericTextKey(const QString& text, std::string& out)
{
    std::string bytes;
    AppendCp932SortBytes(text, bytes);
    if (bytes.size() < 20)
        out.append(20 - bytes.size(), '0');
    out.append(bytes);
}

struct DateKey {
    bool hasDate;
    qint64 modified;
    int position;
};

}  // namespace

std::vector<int> SortedOrder(const CutListModel& list, SortKey key, bool descending)
{
    switch (key) {
    case SortKey::Name:
        return ByteOrder(list, CutListModel::kColumnName, descending, AppendNameKey);
    case SortKey::MediaTime:
        return ByteOrder(list, CutListModel::kColumnMediaTime, descending, AppendNumericTextKey);
    case SortKey::Size:
        return ByteOrder(list, CutListModel::kColumnSize, descending, AppendNumericTextKey);
    case SortKey::Type:
        return ByteOrder(list, CutListModel::kColumnType, descending, AppendCp932SortBytes);
    case SortKey::Date: {
        // Chronological; objects without a date come first.
        std::vector<DateKey> keys;
        keys.reserve(static_cast<size_t>(list.GetItemCount()));
        for (int position = 0; position < list.GetItemCount(); ++position) {
            const qint64 modified = list.GetItemModified(position);
            keys.push_back({modified != 0, modified, position});
        }
        return StableOrder(keys, descending, [](const DateKey& a, const DateKey& b) {
            return std::tie(a.hasDate, a.modified) < std::tie(b.hasDate, b.modified);
        });
    }
    }
    return {};
}

std::optional<SortKey> SortKeyForColumn(int column)
{
    switch (column) {
    case CutListModel::kColumnName:
        return SortKey::Name;
    case CutListModel::kColumnMediaTime:
        return SortKey::MediaTime;
    case CutListModel::kColumnSize:
        return SortKey::Size;
    case CutListModel::kColumnType:
        return SortKey::Type;
    case CutListModel::kColumnDate:
        return SortKey::Date;
    default:
        return std::nullopt;
    }
}

void SortCutList(CutListModel& list, SortKey key, bool descending)
{
    list.ApplyOrder(SortedOrder(list, key, descending));
}

void SortDirections::Toggle(SortKey key)
{
    const bool wasDescending = IsDescending(key);
    m_descending.fill(false);
    m_descending[static_cast<size_t>(key)] = !wasDescending;
}

}  // namespace kivo
