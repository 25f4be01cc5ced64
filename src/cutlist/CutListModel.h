#pragma once

#include "cutlist/Formatters.h"
#include "cutlist/MediaRecord.h"
#include "cutlist/ObjectState.h"

#include <QAbstractTableModel>
#include <QImage>
#include <QStringList>

#include <vector>

namespace kivo {

// The cut list: the media objects in play order, each a list item with its
// name, its state and its slot, and the slots that hold each object's path,
// picture and examined values. Every other text of a column, the state's
// picture and the small picture are derived from these when asked for, so
// that an object costs one small record beside its (shared) picture; how the
// list is shown is the view's.
//
// Every object added gets a new slot (0, 1, 2, ... in the order of adding).
// An item's slot is its item data and its image index; sorting, moving and
// deleting items never touch the slots, which are only dropped all at once
// by Clear. A position index maps each slot to its item, so finding an item
// by its slot costs no search.
class CutListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        kColumnName,
        kColumnMediaTime,
        kColumnState,
        kColumnSize,
        kColumnType,
        kColumnDate,
        kColumnCount,
    };
    enum Role {
        SlotRole = Qt::UserRole,
        StateRole,  // the object's state, as an int
        LargeImageRole,
        SmallImageRole,
        PathRole,
    };

    explicit CutListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    int GetItemCount() const { return static_cast<int>(m_items.size()); }

    // Appends one object for an examined file: a new slot with the path and
    // the two pictures of `picture`, and an item labelled with the path (or
    // " " with `blankLabel`) whose texts come from the record, standing by
    // (invalid for an invalid record). Returns its list position.
    int AddObject(const MEDIARECORD& record, const QImage& picture, bool blankLabel);
    // Appends one object for each, as AddObject does, in one insertion.
    void AddObjects(const std::vector<MediaObject>& objects, bool blankLabels);
    // Deletes one list item; its slot stays until Clear.
    void DeleteItem(int position);
    // Moves the item at `from` to `to` (counted after its removal), with its
    // texts, state and slot, and asks the view to scroll it into view.
    void MoveItem(int from, int to);
    // Deletes every item and drops all slots: numbering starts again at 0.
    void Clear();
    // Puts the items in a new order: order[i] is the old position of the
    // item that goes to position i. A random order is known as such until
    // the order changes again (items added or moved, another order).
    enum class Order { Chosen, Random };
    void ApplyOrder(const std::vector<int>& order, Order kind = Order::Chosen);
    bool IsInRandomOrder() const { return m_randomOrder; }
    // Deletes every invalid item (their slots stay until Clear) in one
    // change of the list.
    void DeleteInvalidItems();
    bool HasInvalidItems() const { return m_invalidItems > 0; }

    // A column's text: the name, or the text derived from the object's
    // state or examined values.
    QString GetItemText(int position, int column) const;
    const QString& GetItemName(int position) const;
    // Sets the name (column 0); the other columns are derived and cannot be set.
    void SetItemText(int position, int column, const QString& text);
    // Names the items from the first on, as many as there are names and items.
    void SetItemNames(const QStringList& names);
    int GetItemData(int position) const;
    QString GetItemPath(int position) const;
    ObjectState GetItemState(int position) const;
    // Sets an object's state and asks the view to scroll it into view.
    void SetItemState(int position, ObjectState state);
    // The object's file turned out unplayable after it was added: it becomes
    // invalid and shows `picture`.
    void InvalidateItem(int position, const QImage& picture);
    // Modification time behind the date column; 0 when the column is empty.
    qint64 GetItemModified(int position) const;
    // What the object's file was found to be when it was added.
    const ObjectFacts& GetItemFacts(int position) const { return SlotOf(position).facts; }

    int FindItemByData(int slot) const;
    int FindCurrentItem() const { return FindItemByData(m_nCurrent); }
    // The first position from `start` on whose object is not invalid; -1 if none.
    int FindPlayable(int start) const;

    int GetCurrent() const { return m_nCurrent; }
    void SetCurrent(int slot) { m_nCurrent = slot; }
    int GetImageCount() const { return static_cast<int>(m_slots.size()); }
    const QString& GetSlotPath(int slot) const { return SlotAt(slot).path; }
    const QImage& GetLargeImage(int slot) const { return SlotAt(slot).picture; }
    // The 32 x 24 reduction of the slot's picture.
    QImage GetSmallImage(int slot) const;

signals:
    // The item should be scrolled wholly into view.
    void scrollToItemRequested(int position);

private:
    // What an object was added with; it changes only when its file is
    // found unplayable later.
    struct Slot {
        QString path;
        QImage picture;  // 64 x 48, shared with the cache and other objects
        ObjectFacts facts;
        bool keepDark = false;  // a card: its reduction keeps the lettering
    };
    struct Item {
        QString name;
        int slot = -1;
        ObjectState state = ObjectState::Standby;
    };

    bool IsPosition(int position) const { return position >= 0 && position < GetItemCount(); }
    Item& At(int position) { return m_items[static_cast<size_t>(position)]; }
    const Item& At(int position) const { return m_items[static_cast<size_t>(position)]; }
    const Slot& SlotAt(int slot) const { return m_slots.at(static_cast<size_t>(slot)); }
    const Slot& SlotOf(int position) const { return m_slots[static_cast<size_t>(At(position).slot)]; }
    // A new slot and its item, not yet announced to the views.
    void Append(const MEDIARECORD& record, const QImage& picture, bool blankLabel);
    void IndexPositions(int first, int last);
    // Moves the views' kept indexes to the rows their items moved to (-1: gone).
    void MovePersistentRows(const std::vector<int>& newPosition);
    void CountState(ObjectState state, int change)
    {
        if (state == ObjectState::Invalid)
            m_invalidItems += change;
    }

    std::vector<Item> m_items;
    std::vector<Slot> m_slots;
    std::vector<int> m_positionOfSlot;  // -1 for the slot of a deleted item
    bool m_randomOrder = false;
    int m_invalidItems = 0;
    int m_nCurrent = -1;
};

}  // namespace kivo
