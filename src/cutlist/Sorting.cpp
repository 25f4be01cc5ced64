#include "Sorting.h"

#include "CutListModel.h"
#include "TextEncoding.h"

#include <algorithm>
#include <numeric>

namespace kivo {
namespace {

QByteArray NameKey(const QString& name)
{
    QByteArray bytes = Cp932SortBytes(name);
    for (char& byte : bytes) {
        if (byte >= 'A' && byte <= 'Z')
            byte = static_cast<char>(byte - 'A' + 'a');
    }
    return bytes;
}

// The text as "%020s" would give it: right-aligned in 20 places, padded on
// the left with the digit 0; longer texts stay as they are.
QByteArray NumericTextKey(const QString& text)
{
    QByteArray bytes = Cp932SortBytes(text);
    if (bytes.size() < 20)
        bytes.prepend(20 - bytes.size(), '0');
    return bytes;
}

template <typename Key, typename Less>
std::vector<int> StableOrder(const std::vector<Key>& keys, bool descending, Less less)
{
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    if (descending) {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return less(keys[static_cast<size_t>(b)], keys[static_cast<size_t>(a)]); });
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return less(keys[static_cast<size_t>(a)], keys[static_cast<size_t>(b)]); });
    }
    return order;
}

template <typename MakeKey>
auto Keys(const CutListModel& list, MakeKey makeKey)
{
    std::vector<decltype(makeKey(0))> keys;
    keys.reserve(static_cast<size_t>(list.GetItemCount()));
    for (int position = 0; position < list.GetItemCount(); ++position)
        keys.push_back(makeKey(position));
    return keys;
}

}  // namespace

std::vector<int> SortedOrder(const CutListModel& list, SortKey key, bool descending)
{
    // QByteArray orders by unsigned bytes, a prefix before the longer text.
    const auto bytesLess = [](const QByteArray& a, const QByteArray& b) { return a < b; };
    const auto text = [&list](int position, int column) { return list.GetItemText(position, column); };
    switch (key) {
    case SortKey::Name:
        return StableOrder(Keys(list, [&](int p) { return NameKey(text(p, CutListModel::kColumnName)); }),
                           descending, bytesLess);
    case SortKey::MediaTime:
        return StableOrder(Keys(list, [&](int p) { return NumericTextKey(text(p, CutListModel::kColumnMediaTime)); }),
                           descending, bytesLess);
    case SortKey::Size:
        return StableOrder(Keys(list, [&](int p) { return NumericTextKey(text(p, CutListModel::kColumnSize)); }),
                           descending, bytesLess);
    case SortKey::Type:
        return StableOrder(Keys(list, [&](int p) { return Cp932SortBytes(text(p, CutListModel::kColumnType)); }),
                           descending, bytesLess);
    case SortKey::Date:
        // (has a date, time): objects without a date come first.
        return StableOrder(Keys(list,
                                [&](int p) {
                                    const qint64 modified = list.GetItemModified(p);
                                    return std::pair<bool, qint64>(modified != 0, modified);
                                }),
                           descending, std::less<>());
    }
    return {};
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
