#pragma once

#include "cutlist/CutListModel.h"
#include "cutlist/Sorting.h"

#include <QWidget>

class QAbstractItemView;
class QLabel;
class QListView;
class QStackedLayout;
class QTreeView;

namespace kivo {

class Settings;

// The list's modes, numbered as the profile keeps them.
enum class ListViewType {
    LargeIcons = 0,
    Details = 1,
    SmallIcons = 2,
    List = 3,
};

// The visible cut list: one model shown as large icons, small icons, a list
// or a details table of six columns. State images show in the details and
// list modes only. The widget only shows the list and reports what the user
// did to it.
class CutListView : public QWidget {
    Q_OBJECT

public:
    explicit CutListView(CutListModel& model, QWidget* parent = nullptr);

    void ChangeViewType(ListViewType type);
    ListViewType ViewType() const { return m_viewType; }
    // The large or the small icons: objects placed one by one.
    bool ShowsIcons() const
    {
        return m_viewType == ListViewType::LargeIcons || m_viewType == ListViewType::SmallIcons;
    }
    // State images show in the details and list modes only.
    bool ShowsStateImages() const { return m_viewType == ListViewType::Details || m_viewType == ListViewType::List; }
    bool IsAutoArrange() const { return m_autoArrange; }
    void SetAutoArrange(bool on);
    // Places the icons on the grid once.
    void Arrange();
    QAbstractItemView* ActiveView() const;
    // How many objects are selected (0 or 1: one at a time can be).
    int SelectedObjectCount() const;
    // Starts editing an object's name in place.
    void EditLabel(int position);

    // The mode, automatic arrangement and column widths kept in the profile;
    // the widths are stored only when the list shows details.
    void RestoreLayout(const Settings& settings);
    void SaveLayout(Settings& settings) const;

signals:
    void sortRequested(SortKey key);
    // A single click that left exactly this object selected.
    void objectClicked(int position);
    // A click that did not pick one object.
    void spaceClicked();
    // A right click, on an object (its position) or on empty space (-1).
    void contextMenuRequested(int position, const QPoint& globalPos);
    // An object dragged onto another in the details view.
    void moveRequested(int from, int to);
    // An object dragged out of the main window.
    void deleteRequested(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Dragging an object: moving it in the details view, placing its icon,
    // or throwing it out of the main window. No drag in the list mode.
    bool BeginDrag(const QPoint& point);
    void TrackDrag(const QPoint& point, const QPoint& globalPos);
    void EndDrag(const QPoint& point, const QPoint& globalPos);

    CutListModel& m_model;
    ListViewType m_viewType = ListViewType::LargeIcons;
    QStackedLayout* m_stack;
    QListView* m_iconView;
    QTreeView* m_detailsView;
    bool m_autoArrange = false;
    bool m_iconsShown = false;  // the icon view has been on the screen
    QPoint m_pressPoint;
    int m_pressRow = -1;
    int m_dragRow = -1;  // the object being dragged, or -1
    int m_dropRow = -1;  // the object the pointer was last over
    QLabel* m_dragImage = nullptr;
};

}  // namespace kivo
