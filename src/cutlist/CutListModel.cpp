#include "cutlist/CutListModel.h"

#include "cutlist/Formatters.h"
#include "cutlist/Thumbnail.h"

#include <algorithm>

namespace kivo {

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
        return m_arrItemPath.at(item.slot);
    default:
        return {};
    }
}

QVariant CutListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole) {
        static const char16_t* const titles[kColumnCount] = {
            u"名前", u"ﾒﾃﾞｨｱ時間", u"状態", u"ｻｲｽﾞ", u"種類", u"更新日時",
        };
        return QString::fromUtf16(titles[section]);
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

int CutListModel::AddObject(const MEDIARECORD& record, const QImage& picture, bool blankLabel)
{
    const int slot = m_nImageCount;
    m_arrItemPath.append(record.strPath);
    m_imageLarge.push_back(ToListPicture(picture));
    m_imageSmall.push_back(ReduceThumbnail(m_imageLarge.back(), record.nFlag != kFlagValid));

    Item item;
    item.texts = NewObjectColumnTexts(record);
    item.texts[kColumnName] = blankLabel ? QStringLiteral(" ") : record.strPath;
    item.slot = slot;
    item.modified = item.texts[kColumnDate].isEmpty() ? 0 : record.timeModified;
    item.state = record.nFlag == kFlagInvalid ? ObjectState::Invalid : ObjectState::Standby;

    const int position = GetItemCount();
    beginInsertRows({}, position, position);
    m_items.push_back(std::make_unique<Item>(std::move(item)));
    m_positionOfSlot.push_back(position);
    ++m_nImageCount;
    endInsertRows();
    return position;
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
    m_items.erase(m_items.begin() + position);
    IndexPositions(position, GetItemCount() - 1);
    endRemoveRows();
}

void CutListModel::MoveItem(int from, int to)
{
    if (!IsPosition(from) || !IsPosition(to) || from == to)
        return;
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

void CutListModel::DeleteAllItems()
{
    beginResetModel();
    m_items.clear();
    std::fill(m_positionOfSlot.begin(), m_positionOfSlot.end(), -1);
    endResetModel();
}

void CutListModel::RemoveAllImages()
{
    m_imageLarge.clear();
    m_imageSmall.clear();
    m_nImageCount = 0;
}

void CutListModel::Clear()
{
    DeleteAllItems();
    RemoveAllImages();
    m_arrItemPath.clear();
    m_positionOfSlot.clear();
}

void CutListModel::ApplyOrder(const std::vector<int>& order)
{
    if (order.size() != m_items.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newPosition(order.size());
    for (size_t position = 0; position < order.size(); ++position)
        newPosition[static_cast<size_t>(order[position])] = static_cast<int>(position);

    // In place, one cycle of the permutation at a time, so that a large list
    // is not copied.
    std::vector<bool> placed(order.size(), false);
    for (size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        std::unique_ptr<Item> carried = std::move(m_items[start]);
        size_t position = start;
        while (static_cast<size_t>(order[position]) != start) {
            const auto from = static_cast<size_t>(order[position]);
            m_items[position] = std::move(m_items[from]);
            placed[position] = true;
            position = from;
        }
        m_items[position] = std::move(carried);
        placed[position] = true;
    }
    IndexPositions(0, GetItemCount() - 1);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(this->index(newPosition[static_cast<size_t>(index.row())], index.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString CutListModel::GetItemText(int position, int column) const
{
    if (!IsPosition(position) || column < 0 || column >= kColumnCount)
        return {};
    if (column == kColumnState)
        return StateText(At(position).state);
    return At(position).texts[static_cast<size_t>(column)];
}

void CutListModel::SetItemText(int position, int column, const QString& text)
{
    if (!IsPosition(position) || column < 0 || column >= kColumnCount || column == kColumnState)
        return;
    At(position).texts[static_cast<size_t>(column)] = text;
    const QModelIndex changed = index(position, column);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

int CutListModel::GetItemData(int position) const
{
    return IsPosition(position) ? At(position).slot : -1;
}

QString CutListModel::GetItemPath(int position) const
{
    return IsPosition(position) ? m_arrItemPath.at(GetItemData(position)) : QString();
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
    At(position).state = state;
    // The state's text and its picture beside the name.
    emit dataChanged(index(position, kColumnName), index(position, kColumnState), {Qt::DisplayRole, StateRole});
}

qint64 CutListModel::GetItemModified(int position) const
{
    return IsPosition(position) ? At(position).modified : 0;
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
