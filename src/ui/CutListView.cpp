#include "ui/CutListView.h"

#include "core/Settings.h"
#include "cutlist/FileNames.h"
#include "cutlist/ShownText.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QStackedLayout>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>
#include <array>

namespace kivo {
namespace {

constexpr int kStateImageSize = 21;

// The 21 x 21 state pictures: standby, playing, paused and stopped.
const std::array<QPixmap, 4>& StatePictures()
{
    static const std::array<QPixmap, 4> pictures = [] {
        std::array<QPixmap, 4> made;
        for (const ObjectState state :
             {ObjectState::Standby, ObjectState::Playing, ObjectState::Paused, ObjectState::Stopped}) {
            QPixmap picture(kStateImageSize, kStateImageSize);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            switch (state) {
            case ObjectState::Standby:
                painter.setBrush(QColor(120, 120, 120));
                painter.drawEllipse(QRectF(6.5, 6.5, 8, 8));
                break;
            case ObjectState::Playing:
                painter.setBrush(QColor(0, 150, 0));
                painter.drawPolygon(QPolygonF({QPointF(6, 4), QPointF(17, 10.5), QPointF(6, 17)}));
                break;
            case ObjectState::Paused:
                painter.setBrush(QColor(0, 90, 200));
                painter.drawRect(QRectF(5, 4, 4, 13));
                painter.drawRect(QRectF(12, 4, 4, 13));
                break;
            default:
                painter.setBrush(QColor(200, 0, 0));
                painter.drawRect(QRectF(5, 5, 11, 11));
                break;
            }
            made[static_cast<size_t>(state) - 1] = picture;
        }
        return made;
    }();
    return pictures;
}

// Draws an object's picture as the mode wants it, and its state image in
// front of its name where the mode shows state images.
class ObjectDelegate : public QStyledItemDelegate {
public:
    ObjectDelegate(const CutListView& list, QObject* parent) : QStyledItemDelegate(parent), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int state = StateImageOf(index);
        if (state == 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const QRect place(option.rect.left(), option.rect.center().y() - kStateImageSize / 2, kStateImageSize,
                          kStateImageSize);
        painter->drawPixmap(place, StatePictures()[static_cast<size_t>(state - 1)]);
        QStyleOptionViewItem rest = option;
        rest.rect.setLeft(option.rect.left() + kStateImageSize);
        QStyledItemDelegate::paint(painter, rest, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (m_list.ShowsIcons())
            return IconRoom(option, index);
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (StateImageOf(index) != 0)
            size.rwidth() += kStateImageSize;
        // A path on one line is no wider than the list; its start gives way.
        if (ShowsPathEnd(index))
            size.setWidth(std::min(size.width(), m_list.ActiveView()->viewport()->width() - kListMargin));
        return size;
    }

    // The whole name, where names have a room of their own that may cut them.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        const QString name = index.data().toString();
        if (event->type() != QEvent::ToolTip || !InRoomOfItsOwn(index) || name.trimmed().isEmpty())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QToolTip::showText(event->globalPos(), ShownName(name), view, view->visualRect(index));
        return true;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        // The style measures all of the text to elide it to the room it has.
        option->text = ShownName(option->text);
        if (index.column() == CutListModel::kColumnName && m_list.ViewType() == ListViewType::LargeIcons) {
            const QImage large = index.data(CutListModel::LargeImageRole).value<QImage>();
            option->icon = QIcon(QPixmap::fromImage(large));
            option->decorationSize = large.size();
        }
        if (ShowsPathEnd(index)) {
            // One line that ends with the file's own name.
            option->features &= ~QStyleOptionViewItem::WrapText;
            option->textElideMode = Qt::ElideLeft;
        }
    }

private:
    // How wide an icon's name is shown, on two lines at most; a list's name
    // is shown as wide as the list, less its margins.
    static constexpr int kIconLabelWidth = 128;
    static constexpr int kListMargin = 8;

    // Every icon takes the same room, whatever its name: its picture and two
    // lines of its name. (A scenario names its objects only once they are
    // in the list, and laid out.)
    QSize IconRoom(const QStyleOptionViewItem& option, const QModelIndex& index) const
    {
        QStyleOptionViewItem twoLines = option;
        initStyleOption(&twoLines, index);
        twoLines.text = QStringLiteral("M") + QChar::LineSeparator + QStringLiteral("M");
        twoLines.features &= ~QStyleOptionViewItem::WrapText;
        const QWidget* view = option.widget;
        const QSize size = (view ? view->style() : QApplication::style())
                               ->sizeFromContents(QStyle::CT_ItemViewItem, &twoLines, QSize(), view);
        return {std::max(size.width(), kIconLabelWidth), size.height()};
    }

    // Whether an object's name is shown in a room of its own: in the icon and
    // list modes (the details view has its column, which the user widens).
    bool InRoomOfItsOwn(const QModelIndex& index) const
    {
        return index.column() == CutListModel::kColumnName && m_list.ViewType() != ListViewType::Details;
    }
    // Whether the object's name is a path shown there by its end.
    bool ShowsPathEnd(const QModelIndex& index) const
    {
        return InRoomOfItsOwn(index) && IsPathName(index.data().toString());
    }

    // The number of the state image beside the name; 0 for none.
    int StateImageOf(const QModelIndex& index) const
    {
        const int state = index.data(CutListModel::StateRole).toInt();
        return index.column() == CutListModel::kColumnName && m_list.ShowsStateImages() &&
                       state >= static_cast<int>(ObjectState::Standby) && state <= static_cast<int>(ObjectState::Stopped)
                   ? state
                   : 0;
    }

    const CutListView& m_list;
};

// The icon views, which can place one icon where the user drops it.
class IconView : public QListView {
public:
    using QListView::QListView;

    void MoveItemBy(const QModelIndex& index, const QPoint& distance)
    {
        setPositionForIndex(rectForIndex(index).topLeft() + distance, index);
    }
};

// The cursor of an object about to be thrown away: an arrow into a bin.
const QCursor& ThrowCursor()
{
    static const QCursor cursor = [] {
        QPixmap picture(32, 32);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1.5));
        painter.setBrush(QColor(200, 200, 200));
        painter.drawPolygon(QPolygonF({QPointF(10, 14), QPointF(28, 14), QPointF(26, 31), QPointF(12, 31)}));
        painter.drawLine(QPointF(8, 12), QPointF(30, 12));
        for (const qreal x : {15.0, 19.0, 23.0})
            painter.drawLine(QPointF(x, 17), QPointF(x, 28));
        painter.setBrush(Qt::white);
        painter.drawPolygon(QPolygonF({QPointF(1, 1), QPointF(1, 12), QPointF(4, 9), QPointF(7, 14), QPointF(9, 13),
                                       QPointF(6, 8), QPointF(10, 8)}));
        return QCursor(picture, 1, 1);
    }();
    return cursor;
}

}  // namespace

CutListView::CutListView(CutListModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_stack(new QStackedLayout(this)), m_iconView(new IconView(this)),
      m_detailsView(new QTreeView(this))
{
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_iconView), static_cast<QAbstractItemView*>(m_detailsView)}) {
        view->setModel(&m_model);
        view->setItemDelegate(new ObjectDelegate(*this, view));
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
        // Dragging is ours: see BeginDrag.
        view->setDragEnabled(false);
        view->viewport()->installEventFilter(this);
        m_stack->addWidget(view);
    }
    m_detailsView->setSelectionModel(m_iconView->selectionModel());
    m_detailsView->setRootIsDecorated(false);
    m_detailsView->setUniformRowHeights(true);
    m_detailsView->setIconSize(QSize(32, 24));
    m_detailsView->header()->setSectionsClickable(true);
    m_detailsView->header()->setStretchLastSection(false);
    connect(m_detailsView->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (const auto key = SortKeyForColumn(column))
            emit sortRequested(*key);
    });
    // Objects whose state changes come into view where states show.
    connect(&m_model, &CutListModel::scrollToItemRequested, this, [this](int position) {
        if (ShowsStateImages())
            ActiveView()->scrollTo(m_model.index(position, CutListModel::kColumnName), QAbstractItemView::EnsureVisible);
    });
    ChangeViewType(ListViewType::LargeIcons);
}

QAbstractItemView* CutListView::ActiveView() const
{
    return ViewType() == ListViewType::Details ? static_cast<QAbstractItemView*>(m_detailsView)
                                      : static_cast<QAbstractItemView*>(m_iconView);
}

void CutListView::ChangeViewType(ListViewType type)
{
    m_viewType = type;
    switch (type) {
    case ListViewType::LargeIcons:
    case ListViewType::SmallIcons:
        // Rows of icons that the user may place one by one (see EndDrag).
        m_iconView->setViewMode(QListView::IconMode);
        m_iconView->setIconSize(type == ListViewType::LargeIcons ? QSize(64, 48) : QSize(32, 24));
        m_iconView->setFlow(QListView::LeftToRight);
        m_iconView->setMovement(QListView::Free);
        m_iconView->setResizeMode(m_autoArrange ? QListView::Adjust : QListView::Fixed);
        m_iconView->setWordWrap(true);
        // Every icon takes the same room.
        m_iconView->setUniformItemSizes(true);
        break;
    case ListViewType::List:
        // Columns of whole names; nothing moves.
        m_iconView->setViewMode(QListView::ListMode);
        m_iconView->setIconSize(QSize(32, 24));
        m_iconView->setFlow(QListView::TopToBottom);
        m_iconView->setMovement(QListView::Static);
        m_iconView->setWrapping(true);
        m_iconView->setResizeMode(QListView::Adjust);
        m_iconView->setWordWrap(false);
        // Each name as long as it is.
        m_iconView->setUniformItemSizes(false);
        break;
    case ListViewType::Details:
        break;
    }
    // Dragging is ours, in every mode (a free movement would turn Qt's on).
    m_iconView->setDragEnabled(false);
    m_stack->setCurrentWidget(ActiveView());
}

void CutListView::SetAutoArrange(bool on)
{
    m_autoArrange = on;
    if (ShowsIcons())
        m_iconView->setResizeMode(on ? QListView::Adjust : QListView::Fixed);
    if (on)
        Arrange();
}

void CutListView::Arrange()
{
    m_iconView->doItemsLayout();
}

void CutListView::RestoreLayout(const Settings& settings)
{
    for (int column = 0; column < CutListModel::kColumnCount; ++column)
        m_detailsView->header()->resizeSection(column, settings.Get(setting::kColumnWidths[static_cast<size_t>(column)]));
    m_autoArrange = (settings.Get(setting::kAutoArrange) & 256) != 0;
    const int type = settings.Get(setting::kType) & 3;
    ChangeViewType(static_cast<ListViewType>(type));
}

void CutListView::SaveLayout(Settings& settings) const
{
    settings.Set(setting::kType, static_cast<int>(ViewType()));
    settings.Set(setting::kAutoArrange, m_autoArrange ? 256 : 0);
    if (ViewType() != ListViewType::Details)
        return;
    for (int column = 0; column < CutListModel::kColumnCount; ++column)
        settings.Set(setting::kColumnWidths[static_cast<size_t>(column)], m_detailsView->header()->sectionSize(column));
}

int CutListView::SelectedObjectCount() const
{
    // The icon views select one cell of a row, the details view the row.
    QSet<int> rows;
    for (const QModelIndex& index : ActiveView()->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    return static_cast<int>(rows.size());
}

void CutListView::EditLabel(int position)
{
    if (position >= 0 && position < m_model.GetItemCount())
        ActiveView()->edit(m_model.index(position, CutListModel::kColumnName));
}

bool CutListView::BeginDrag(const QPoint& point)
{
    if (m_pressRow < 0 || ViewType() == ListViewType::List ||
        (point - m_pressPoint).manhattanLength() < QApplication::startDragDistance()) {
        return false;
    }
    m_dragRow = m_pressRow;
    m_dropRow = m_pressRow;
    // The object's picture follows the pointer, also outside the window.
    m_dragImage = new QLabel(this, Qt::ToolTip | Qt::FramelessWindowHint);
    m_dragImage->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dragImage->setWindowOpacity(0.7);
    // The picture as the mode shows it: large in the large icons, small elsewhere.
    const int picture =
        ViewType() == ListViewType::LargeIcons ? CutListModel::LargeImageRole : CutListModel::SmallImageRole;
    m_dragImage->setPixmap(QPixmap::fromImage(m_model.index(m_dragRow, 0).data(picture).value<QImage>()));
    ActiveView()->viewport()->grabMouse();
    return true;
}

void CutListView::TrackDrag(const QPoint& point, const QPoint& globalPos)
{
    m_dragImage->move(globalPos + QPoint(8, 8));
    m_dragImage->show();
    if (const QModelIndex over = ActiveView()->indexAt(point); over.isValid())
        m_dropRow = over.row();
    const bool inside = window()->frameGeometry().contains(globalPos);
    ActiveView()->viewport()->setCursor(inside ? QCursor(Qt::ArrowCursor) : ThrowCursor());
}

void CutListView::EndDrag(const QPoint& point, const QPoint& globalPos)
{
    QWidget* viewport = ActiveView()->viewport();
    viewport->releaseMouse();
    viewport->unsetCursor();
    delete std::exchange(m_dragImage, nullptr);
    const int dragged = std::exchange(m_dragRow, -1);
    if (!window()->frameGeometry().contains(globalPos)) {
        emit deleteRequested(dragged);
    } else if (ViewType() == ListViewType::Details) {
        if (m_dropRow != dragged)
            emit moveRequested(dragged, m_dropRow);
    } else {
        static_cast<IconView*>(m_iconView)->MoveItemBy(m_model.index(dragged, 0), point - m_pressPoint);
        // With automatic arrangement the icon goes back into the grid.
        if (m_autoArrange)
            Arrange();
    }
}

bool CutListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != ActiveView()->viewport())
        return QWidget::eventFilter(watched, event);
    // Icons placed before the window first came up were placed in the width
    // the view had then, one under the other; its own width places them.
    if (event->type() == QEvent::Show && watched == m_iconView->viewport() && !std::exchange(m_iconsShown, true))
        Arrange();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex hit = ActiveView()->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton) {
            m_pressPoint = mouse->position().toPoint();
            m_pressRow = hit.isValid() ? hit.row() : -1;
        } else if (mouse->button() == Qt::RightButton && hit.isValid()) {
            // A right click picks the object it is on, as a left one does.
            ActiveView()->setCurrentIndex(hit);
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->position().toPoint();
        if (m_dragRow < 0 && (!(mouse->buttons() & Qt::LeftButton) || !BeginDrag(point)))
            break;
        TrackDrag(point, mouse->globalPosition().toPoint());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->position().toPoint();
        if (mouse->button() == Qt::LeftButton && m_dragRow >= 0) {
            EndDrag(point, mouse->globalPosition().toPoint());
            return true;
        }
        const QModelIndex hit = ActiveView()->indexAt(point);
        if (mouse->button() == Qt::RightButton) {
            emit contextMenuRequested(hit.isValid() ? hit.row() : -1, mouse->globalPosition().toPoint());
        } else if (mouse->button() == Qt::LeftButton) {
            // The release comes after the press selected the object.
            if (hit.isValid() && SelectedObjectCount() == 1)
                emit objectClicked(hit.row());
            else
                emit spaceClicked();
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kivo
