#include "CutListView.h"

#include "app/Settings.h"

#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedLayout>
#include <QStyledItemDelegate>
#include <QTreeView>

#include <array>

namespace kivo {
namespace {

constexpr int kStateImageSize = 21;

// The 21 x 21 state pictures: standby, playing, paused and stopped.
const std::array<QPixmap, 4>& StatePictures()
{
    static const std::array<QPixmap, 4> pictures = [] {
        std::array<QPixmap, 4> made;
        for (int state = OBJSTATE_STANDBY; state <= OBJSTATE_STOPPED; ++state) {
            QPixmap picture(kStateImageSize, kStateImageSize);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            switch (state) {
            case OBJSTATE_STANDBY:
                painter.setBrush(QColor(120, 120, 120));
                painter.drawEllipse(QRectF(6.5, 6.5, 8, 8));
                break;
            case OBJSTATE_PLAYING:
                painter.setBrush(QColor(0, 150, 0));
                painter.drawPolygon(QPolygonF({QPointF(6, 4), QPointF(17, 10.5), QPointF(6, 17)}));
                break;
            case OBJSTATE_PAUSED:
                painter.setBrush(QColor(0, 90, 200));
                painter.drawRect(QRectF(5, 4, 4, 13));
                painter.drawRect(QRectF(12, 4, 4, 13));
                break;
            default:
                painter.setBrush(QColor(200, 0, 0));
                painter.drawRect(QRectF(5, 5, 11, 11));
                break;
            }
            made[static_cast<size_t>(state - 1)] = picture;
        }
        return made;
    }();
    return pictures;
}

// Draws an object's state image in front of its name.
class StateImageDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const int state = index.data(CutListModel::StateImageRole).toInt();
        if (index.column() != CutListModel::kColumnName || state < OBJSTATE_STANDBY || state > OBJSTATE_STOPPED) {
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
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (index.column() == CutListModel::kColumnName && index.data(CutListModel::StateImageRole).toInt() > 0)
            size.rwidth() += kStateImageSize;
        return size;
    }
};

}  // namespace

CutListView::CutListView(CutListModel& model, QWidget* parent)
    : QWidget(parent), m_model(model), m_stack(new QStackedLayout(this)), m_iconView(new QListView(this)),
      m_detailsView(new QTreeView(this))
{
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_iconView), static_cast<QAbstractItemView*>(m_detailsView)}) {
        view->setModel(&m_model);
        view->setItemDelegate(new StateImageDelegate(view));
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
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
    m_iconView->setUniformItemSizes(true);
    ChangeViewType(m_model.GetViewType());
}

QAbstractItemView* CutListView::ActiveView() const
{
    return ViewType() == kViewDetails ? static_cast<QAbstractItemView*>(m_detailsView)
                                      : static_cast<QAbstractItemView*>(m_iconView);
}

void CutListView::ChangeViewType(ListViewType type)
{
    m_model.ChangeViewType(type);
    switch (type) {
    case kViewLargeIcons:
    case kViewSmallIcons:
        m_iconView->setViewMode(QListView::IconMode);
        m_iconView->setIconSize(type == kViewLargeIcons ? QSize(64, 48) : QSize(32, 24));
        m_iconView->setMovement(QListView::Free);
        m_iconView->setResizeMode(m_autoArrange ? QListView::Adjust : QListView::Fixed);
        m_iconView->setWordWrap(true);
        break;
    case kViewList:
        m_iconView->setViewMode(QListView::ListMode);
        m_iconView->setIconSize(QSize(32, 24));
        m_iconView->setFlow(QListView::TopToBottom);
        m_iconView->setWrapping(true);
        m_iconView->setResizeMode(QListView::Adjust);
        break;
    case kViewDetails:
        break;
    }
    m_stack->setCurrentWidget(ActiveView());
}

void CutListView::SetAutoArrange(bool on)
{
    m_autoArrange = on;
    if (ViewType() == kViewLargeIcons || ViewType() == kViewSmallIcons)
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
    settings.Set(setting::kType, ViewType());
    settings.Set(setting::kAutoArrange, m_autoArrange ? 256 : 0);
    if (ViewType() != kViewDetails)
        return;
    for (int column = 0; column < CutListModel::kColumnCount; ++column)
        settings.Set(setting::kColumnWidths[static_cast<size_t>(column)], m_detailsView->header()->sectionSize(column));
}

bool CutListView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && watched == ActiveView()->viewport()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QModelIndex hit = ActiveView()->indexAt(mouse->position().toPoint());
            // The release comes after the press selected the object.
            if (hit.isValid() && ActiveView()->selectionModel()->selectedRows().size() == 1)
                emit objectClicked(hit.row());
            else
                emit spaceClicked();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kivo
