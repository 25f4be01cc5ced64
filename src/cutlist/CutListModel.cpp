#include "cutlist/CutListModel.h"

#include "cutlist/Formatters.h"
#include "cutlist/Thumbnail.h"

#include <algorithm>

namespace kivo {
namespace {

// Room for `more` elements more. The room at least doubles, as push_back's
// does: a scenario's objects come in one batch and move once, and the
// loader's batch after batch stays linear.
template <typename T>
void MakeRoom(std::vector<T>& elements, size_t more)
{
    const size_t needed = elements.size() + more;
    if (needed > elements.capacity())
        elements.reserve(std::max(needed, 2 * elements.capacity()));
}

}  // namespace

CutListModel::CutListModel(QObject* parent) : QAbstractTableModel(parent) {}

int CutListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GetItemCount();
}

int CutListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CutListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !IsPosition(index.row()))
        return {};
    const Item& item = At(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return GetItemText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == kColumnMediaTime || index.column() == kColumnSize)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::DecorationRole:
        // The small picture; a view of large icons asks for the large one.
        return index.column() == kColumnName ? GetSmallImage(item.slot) : QVariant();
    case SlotRole:
        return item.slot;
    case StateRole:
        return static_cast<int>(item.state);
    case LargeImageRole:
        return GetLargeImage(item.slot);
    case SmallImageRole:
        return GetSmallImage(item.slot);
    case PathRole:
        return SlotOf(index.row()).path;
    default:
        return {};
    }
}

QVariant CutListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole) {
        static const char* const titles[kColumnCount] = {
            QT_TR_NOOP("名前"), QT_TR_NOOP("ﾒﾃﾞｨｱ時間"), QT_TR_NOOP("状態"),
            QT_TR_NOOP("ｻｲｽﾞ"), QT_TR_NOOP("種類"), QT_TR_NOOP("更新日時"),
        };
        return tr(titles[section]);
    }
    if (role == Qt::TextAlignmentRole) {
        const bool right = section == kColumnMediaTime || section == kColumnSize;
        return QVariant::fromValue((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags CutListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == kColumnName)
        result |= Qt::ItemIsEditable;
    return result;
}

bool CutListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != kColumnName || !IsPosition(index.row()))
        return false;
    SetItemText(index.row(), kColumnName, value.toString());
    return true;
}

void CutListModel::Append(const MEDIARECORD& record, const QImage& picture, bool blankLabel)
{
    const bool card = record.nFlag != kFlagValid;
    m_slots.push_back({record.strPath, ToListPicture(picture), FactsOf(record), card});
    Item item;
    // A name that is the path shares its text.
    item.name = blankLabel ? QStringLiteral(" ") : record.strPath;
    item.slot = static_cast<int>(m_slots.size()) - 1;
    item.state = record.nFlag == kFlagInvalid ? ObjectState::Invalid : ObjectState::Standby;
    CountState(item.state, 1);
    m_positionOfSlot.push_back(GetItemCount());
    m_items.push_back(std::move(item));
}

int CutListModel::AddObject(const MEDIARECORD& record, const QImage& picture, bool blankLabel)
{
    const int position = GetItemCount();
    m_randomOrder = false;
    beginInsertRows({}, position, position);
    Append(record, picture, blankLabel);
    endInsertRows();
    return position;
}

void CutListModel::AddObjects(const std::vector<MediaObject>& objects, bool blankLabels)
{
    if (objects.empty())
        return;
    const int first = GetItemCount();
    m_randomOrder = false;
    beginInsertRows({}, first, first + static_cast<int>(objects.size()) - 1);
    MakeRoom(m_slots, objects.size());
    MakeRoom(m_items, objects.size());
    MakeRoom(m_positionOfSlot, objects.size());
    for (const MediaObject& object : objects)
        Append(object.record, object.picture, blankLabels);
    endInsertRows();
}

void CutListModel::MovePersistentRows(const std::vector<int>& newPosition)
{
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before) {
        const int row = newPosition[static_cast<size_t>(index.row())];
        after.append(row < 0 ? QModelIndex() : this->index(row, index.column()));
    }
    changePersistentIndexList(before, after);
}

void CutListModel::IndexPositions(int first, int last)
{
    for (int position = first; position <= last; ++position)
        m_positionOfSlot[static_cast<size_t>(At(position).slot)] = position;
}

void CutListModel::DeleteItem(int position)
{
    if (!IsPosition(position))
        return;
    beginRemoveRows({}, position, position);
    m_positionOfSlot[static_cast<size_t>(At(position).slot)] = -1;
    CountState(At(position).state, -1);
    m_items.erase(m_items.begin() + position);
    IndexPositions(position, GetItemCount() - 1);
    endRemoveRows();
}

void CutListModel::MoveItem(int from, int to)
{
    if (!IsPosition(from) || !IsPosition(to) || from == to)
        return;
    m_randomOrder = false;
    // Qt counts the destination before the removal: moving down lands
    // before the row after the target.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    const auto first = m_items.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    IndexPositions(std::min(from, to), std::max(from, to));
    endMoveRows();
    emit scrollToItemRequested(to);
}

void CutListModel::Clear()
{
    beginResetModel();
    m_items.clear();
    m_slots.clear();
    m_positionOfSlot.clear();
    m_invalidItems = 0;
    m_randomOrder = false;
    endResetModel();
}

void CutListModel::ApplyOrder(const std::vector<int>& order, Order kind)
{
    if (order.size() != m_items.size())
        return;
    m_randomOrder = kind == Order::Random;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newPosition(order.size());
    for (size_t position = 0; position < order.size(); ++position)
        newPosition[static_cast<size_t>(order[position])] = static_cast<int>(position);

    // Gathered into a new list rather than moved along the permutation's
    // cycles in place: each move there waits for the memory read before it,
    // while the reads of a gather overlap (a list of 100,000 items is a few
    // megabytes, and no longer fits the processor's caches).
    std::vector<Item> items;
    items.reserve(m_items.size());
    for (const int from : order)
        items.push_back(std::move(m_items[static_cast<size_t>(from)]));
    m_items = std::move(items);
    IndexPositions(0, GetItemCount() - 1);
    MovePersistentRows(newPosition);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CutListModel::DeleteInvalidItems()
{
    if (m_invalidItems == 0)
        return;
    // One change of the layout rather than a removal per item: the views
    // lay the list out once, whatever the number of items removed.
    emit layoutAboutToBeChanged();
    std::vector<int> newPosition(m_items.size(), -1);
    size_t kept = 0;
    for (size_t position = 0; position < m_items.size(); ++position) {
        Item& item = m_items[position];
        if (item.state == ObjectState::Invalid) {
            m_positionOfSlot[static_cast<size_t>(item.slot)] = -1;
            continue;
        }
        newPosition[position] = static_cast<int>(kept);
        if (kept != position)
            m_items[kept] = std::move(item);
        ++kept;
    }
    m_items.resize(kept);
    m_invalidItems = 0;
    IndexPositions(0, GetItemCount() - 1);
    MovePersistentRows(newPosition);
    emit layoutChanged();
}

QString CutListModel::GetItemText(int position, int column) const
{
    if (!IsPosition(position))
        return {};
    switch (column) {
    case kColumnName:
        return At(position).name;
    case kColumnState:
        return StateText(At(position).state);
    default:
        return ObjectColumnText(SlotOf(position).path, SlotOf(position).facts, column);
    }
}

const QString& CutListModel::GetItemName(int position) const
{
    static const QString none;
    return IsPosition(position) ? At(position).name : none;
}

void CutListModel::SetItemText(int position, int column, const QString& text)
{
    if (!IsPosition(position) || column != kColumnName)
        return;
    At(position).name = text;
    const QModelIndex changed = index(position, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void CutListModel::SetItemNames(const QStringList& names)
{
    const int count = std::min(static_cast<int>(names.size()), GetItemCount());
    if (count == 0)
        return;
    for (int position = 0; position < count; ++position)
        At(position).name = names.at(position);
    emit dataChanged(index(0, kColumnName), index(count - 1, kColumnName), {Qt::DisplayRole, Qt::EditRole});
}

int CutListModel::GetItemData(int position) const
{
    return IsPosition(position) ? At(position).slot : -1;
}

QString CutListModel::GetItemPath(int position) const
{
    return IsPosition(position) ? SlotOf(position).path : QString();
}

QImage CutListModel::GetSmallImage(int slot) const
{
    const Slot& held = SlotAt(slot);
    return ReduceThumbnail(held.picture, held.keepDark);
}

ObjectState CutListModel::GetItemState(int position) const
{
    return IsPosition(position) ? At(position).state : ObjectState::Invalid;
}

void CutListModel::SetItemState(int position, ObjectState state)
{
    if (!IsPosition(position))
        return;
    emit scrollToItemRequested(position);
    CountState(At(position).state, -1);
    CountState(state, 1);
    At(position).state = state;
    // The state's text and its picture beside the name.
    emit dataChanged(index(position, kColumnName), index(position, kColumnState), {Qt::DisplayRole, StateRole});
}

void CutListModel::InvalidateItem(int position, const QImage& picture)
{
    if (!IsPosition(position))
        return;
    Slot& held = m_slots[static_cast<size_t>(At(position).slot)];
    held.picture = ToListPicture(picture);
    held.keepDark = true;
    held.facts.invalid = true;
    SetItemState(position, ObjectState::Invalid);
    emit dataChanged(index(position, kColumnName), index(position, kColumnCount - 1));
}

qint64 CutListModel::GetItemModified(int position) const
{
    return IsPosition(position) && HasDate(SlotOf(position).facts) ? SlotOf(position).facts.modified : 0;
}

int CutListModel::FindItemByData(int slot) const
{
    if (slot < 0 || static_cast<size_t>(slot) >= m_positionOfSlot.size())
        return -1;
    return m_positionOfSlot[static_cast<size_t>(slot)];
}

int CutListModel::FindPlayable(int start) const
{
    if (!IsPosition(start))
        return -1;
    for (int position = start; position < GetItemCount(); ++position) {
        if (GetItemState(position) != ObjectState::Invalid)
            return position;
    }
    return -1;
}

}  // namespace kivo
