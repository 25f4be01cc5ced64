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

// List-view modes; state images show only in the details and list modes.
enum ListViewType {
    kViewLargeIcons = 0,
    kViewDetails = 1,
    kViewSmallIcons = 2,
    kViewList = 3,
};

// The cut list: the media objects in play order, each a list item with its
// six column texts, its slot and its state image, and the slots that hold
// each object's path and pictures.
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
        StateImageRole,
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
    // " " with `blankLabel`) whose texts come from the record. Returns its
    // list position.
    int AddObject(const MEDIARECORD& record, const QImage& picture, bool blankLabel);
    // Deletes one list item; its slot stays until Clear.
    void DeleteItem(int position);
    // Moves the item at `from` to `to` (counted after its removal), with its
    // texts, slot and state image; as SetStateImage, it asks the view to
    // scroll the moved item into view.
    void MoveItem(int from, int to);
    void DeleteAllItems();
    // Drops the pictures of every slot and starts slot numbering again at 0.
    void RemoveAllImages();
    // Deletes every item and drops all slots.
    void Clear();
    // Puts the items in a new order: order[i] is the old position of the
    // item that goes to position i.
    void ApplyOrder(const std::vector<int>& order);

    const QString& GetItemText(int position, int column) const;
    void SetItemText(int position, int column, const QString& text);
    int GetItemData(int position) const;
    QString GetItemPath(int position) const;
    ObjectState GetItemState(int position) const;
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

    ListViewType GetViewType() const { return m_viewType; }
    // Switches the view mode; leaving for an icon mode clears every state
    // image, entering the details or list mode sets each from its state text.
    void ChangeViewType(ListViewType type);
    bool ShowsStateImages() const { return m_viewType == kViewDetails || m_viewType == kViewList; }

    // Sets an item's state image (details and list modes only) and asks the
    // view to scroll the item into view.
    void SetStateImage(int position, int state);
    int GetStateImage(int position) const;
    void ClearStateImages();
    void SyncStateImages();

signals:
    // The item should be scrolled wholly into view.
    void scrollToItemRequested(int position);

private:
    struct Item {
        std::array<QString, kColumnCount> texts;
        int slot = -1;
        int stateImage = 0;
        qint64 modified = 0;
    };

    bool IsPosition(int position) const { return position >= 0 && position < GetItemCount(); }
    Item& At(int position) { return *m_items[static_cast<size_t>(position)]; }
    const Item& At(int position) const { return *m_items[static_cast<size_t>(position)]; }
    void IndexPositions(int first, int last);
    void SetAllStateImages(bool fromStateText);

    // Items live apart, so that sorting and moving shift pointers only.
    std::vector<std::unique_ptr<Item>> m_items;
    QStringList m_arrItemPath;
    std::vector<QImage> m_imageLarge;
    std::vector<QImage> m_imageSmall;
    std::vector<int> m_positionOfSlot;  // -1 for the slot of a deleted item
    int m_nImageCount = 0;
    int m_nCurrent = -1;
    ListViewType m_viewType = kViewLargeIcons;
};

}  // namespace kivo
