#pragma once

#include "CutListModel.h"
#include "Sorting.h"

#include <QWidget>

class QAbstractItemView;
class QListView;
class QStackedLayout;
class QTreeView;

namespace kivo {

class Settings;

// The visible cut list: one model shown as large icons, small icons, a list
// or a details table of six columns. State images show in the details and
// list modes only. The widget only shows the list and reports what the user
// did to it.
class CutListView : public QWidget {
    Q_OBJECT

public:
    explicit CutListView(CutListModel& model, QWidget* parent = nullptr);

    void ChangeViewType(ListViewType type);
    ListViewType ViewType() const { return m_model.GetViewType(); }
    bool IsAutoArrange() const { return m_autoArrange; }
    void SetAutoArrange(bool on);
    // Places the icons on the grid once.
    void Arrange();
    QAbstractItemView* ActiveView() const;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CutListModel& m_model;
    QStackedLayout* m_stack;
    QListView* m_iconView;
    QTreeView* m_detailsView;
    bool m_autoArrange = false;
};

}  // namespace kivo
