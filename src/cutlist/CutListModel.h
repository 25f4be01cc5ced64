#pragma once

#include "cutlist/MediaRecord.h"
#include "cutlist/ObjectState.h"

#include <QAbstractTableModel>
#include <QImage>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

namespace kivo {

// The cut list: the media objects in play order, each a list item with its
// column texts, its state and its slot, and the slots that hold each
// object's path and pictures. The state's text (column 2) and picture are
// derived from the state; how the list is shown is the view's.
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
    // Deletes one list item; its slot stays until Clear.
    void DeleteItem(int position);
    // Moves the item at `from` to `to` (counted after its removal), with its
    // texts, state and slot, and asks the view to scroll it into view.
    void MoveItem(int from, int to);
    void DeleteAllItems();
    // Drops the pictures of every slot and starts slot numbering again at 0.
    void RemoveAllImages();
    // Deletes every item and drops all slots.
    void Clear();
    // Puts the items in a new order: order[i] is the old position of the
    // item that goes to position i.
    void ApplyOrder(const std::vector<int>& order);

    // A column's text; the state column's is the state's.
    QString GetItemText(int position, int column) const;
    // Sets the text of a column other than the state column.
    void SetItemText(int position, int column, const QString& text);
    int GetItemData(int position) const;
    QString GetItemPath(int position) const;
    ObjectState GetItemState(int position) const;
    // Sets an object's state and asks the view to scroll it into view.
    void SetItemState(int position, ObjectState state);
    // Modification time behind the date column; 0 when the column is empty.
    qint64 GetItemModified(int position) const;

    int FindItemByData(int slot) const;
    int FindCurrentItem() const { return FindItemByData(m_nCurrent); }
    // The first position from `start` on whose object is not invalid; -1 if none.
    int FindPlayable(int start) const;

    int GetCurrent() const { return m_nCurrent; }
    void SetCurrent(int slot) { m_nCurrent = slot; }
    int GetImageCount() const { return m_nImageCount; }
    const QStringList& GetItemPaths() const { return m_arrItemPath; }
    const QImage& GetLargeImage(int slot) const { return m_imageLarge.at(static_cast<size_t>(slot)); }
    const QImage& GetSmallImage(int slot) const { return m_imageSmall.at(static_cast<size_t>(slot)); }

signals:
    // The item should be scrolled wholly into view.
    void scrollToItemRequested(int position);

private:
    struct Item {
        std::array<QString, kColumnCount> texts;  // the state column's is not kept
        ObjectState state = ObjectState::Standby;
        int slot = -1;
        qint64 modified = 0;
    };

    bool IsPosition(int position) const { return position >= 0 && position < GetItemCount(); }
    Item& At(int position) { return *m_items[static_cast<size_t>(position)]; }
    const Item& At(int position) const { return *m_items[static_cast<size_t>(position)]; }
    void IndexPositions(int first, int last);

    // Items live apart, so that sorting and moving shift pointers only.
    std::vector<std::unique_ptr<Item>> m_items;
    QStringList m_arrItemPath;
    std::vector<QImage> m_imageLarge;
    std::vector<QImage> m_imageSmall;
    std::vector<int> m_positionOfSlot;  // -1 for the slot of a deleted item
    int m_nImageCount = 0;
    int m_nCurrent = -1;
};

}  // namespace kivo
