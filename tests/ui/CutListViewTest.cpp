#include "TestRecords.h"
#include "core/Settings.h"
#include "cutlist/ShownText.h"
#include "ui/CutListView.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <map>

namespace kivo {
namespace {

const QString kLongName = "/m/a-folder-with-a-rather-long-name/and-a-clip-with-a-long-name-too.avi";

class ListView : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const QString& path : QStringList{"/m/a.mpg", "/m/b.wav", "/m/c.txt", kLongName})
            model.AddObject(test::Record(path), QImage(), false);
        view.Arrange();  // as an opened scenario asks, while the view is small
        view.resize(600, 400);
        view.show();
    }
    QRect Place(int row) { return view.ActiveView()->visualRect(model.index(row, 0)); }
    QPoint Centre(int row) { return Place(row).center(); }
    QPoint Space() { return QPoint(5, view.ActiveView()->viewport()->height() - 5); }
    // Presses on one place of the active view, drags through `path`, runs
    // `held` and lets go at the path's last point.
    void Drag(QPoint from, std::initializer_list<QPoint> path, const std::function<void()>& held = [] {})
    {
        QWidget* viewport = view.ActiveView()->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        for (const QPoint& point : path)
            QTest::mouseMove(viewport, point);
        held();
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, std::data(path)[path.size() - 1]);
    }
    // The tip shown over the object.
    QString TipOf(int row)
    {
        QHelpEvent tip(QEvent::ToolTip, Centre(row), QPoint(0, 0));
        QApplication::sendEvent(view.ActiveView()->viewport(), &tip);
        const QString text = QToolTip::text();
        QToolTip::hideText();
        return text;
    }

    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    CutListModel model;
    CutListView view{model};
};

TEST_F(ListView, StateImagesShowInTheDetailsAndListModesOnly)
{
    // Beside /m/a.mpg, standing by, the same name for an invalid object,
    // which never shows a state image.
    model.AddObject(test::Record("/m/a.mpg", 0, kFlagInvalid), QImage(), false);
    for (const auto& [mode, stateImage] : std::map<ListViewType, int>{
             {ListViewType::LargeIcons, 0}, {ListViewType::SmallIcons, 0}, {ListViewType::List, 21},
             {ListViewType::Details, 21}}) {
        view.ChangeViewType(mode);
        const auto widthOf = [this](int row) { return view.ActiveView()->sizeHintForIndex(model.index(row, 0)).width(); };
        EXPECT_EQ(widthOf(0), widthOf(4) + stateImage) << static_cast<int>(mode);
    }
}

TEST_F(ListView, IconsLieInRowsWhereDroppedOrArrangedAndTheListModeShowsWholeNames)
{
    // Objects added before the view came up lie in rows of its width.
    EXPECT_EQ(Place(3).top(), Place(0).top());
    view.resize(1000, 400);
    view.ChangeViewType(ListViewType::List);
    EXPECT_GE(Place(3).width(), view.ActiveView()->fontMetrics().horizontalAdvance(kLongName) + 32);
    view.ChangeViewType(ListViewType::LargeIcons);
    EXPECT_TRUE(Place(2).top() == Place(0).top() && Place(2).left() > Place(0).right());
    // A dragged icon is placed where dropped, and back in the grid as soon
    // as automatic arrangement is on, and while it is.
    const QPoint placed = Place(0).topLeft();
    for (const QPoint& dropped : {placed + QPoint(200, 150), placed}) {
        const QPoint from = Centre(0);
        Drag(from, {from + QPoint(20, 15), from + QPoint(100, 75), from + QPoint(200, 150)});
        EXPECT_EQ(Place(0).topLeft(), dropped);
        view.SetAutoArrange(true);
        EXPECT_EQ(Place(0).topLeft(), placed);
    }
}

TEST_F(ListView, LayoutIsKeptWithWidthsOnlyFromTheDetailsMode)
{
    settings.Set(setting::kType, 1);  // details
    settings.Set(setting::kAutoArrange, 256);
    settings.Set(setting::kColumnWidths[1], 90);
    view.RestoreLayout(settings);
    auto* details = qobject_cast<QTreeView*>(view.ActiveView());
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(std::tuple(view.IsAutoArrange(), details->header()->sectionSize(0), details->header()->sectionSize(1)),
              std::tuple(true, 256, 90));
    details->header()->resizeSection(5, 140);
    view.SaveLayout(settings);
    details->header()->resizeSection(5, 50);  // and left
    view.ChangeViewType(ListViewType::List);
    view.SetAutoArrange(false);
    view.SaveLayout(settings);
    // Widths saved outside the details mode are kept; 3: the list mode.
    EXPECT_EQ(std::tuple(settings.Get(setting::kColumnWidths[5]), settings.Get(setting::kType), settings.Get(setting::kAutoArrange)),
              std::tuple(140, 3, 0));
}

// Right clicks and clicks on space reach the main window's menus and
// summary (MainWindowTest).
TEST_F(ListView, ClicksOnAnObjectAskForAPlayOnAHeaderForASortExceptOnTheStateColumnAndDraggingMovesInDetailsOnly)
{
    view.ChangeViewType(ListViewType::Details);
    QSignalSpy objects(&view, &CutListView::objectClicked);
    QSignalSpy sorts(&view, &CutListView::sortRequested);
    for (const QPoint& at : {Centre(1), Space()})
        QTest::mouseClick(view.ActiveView()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(objects, QList<QList<QVariant>>({{1}}));
    for (int column : {0, 1, 2, 3, 4, 5})
        emit qobject_cast<QTreeView*>(view.ActiveView())->header()->sectionClicked(column);
    ASSERT_EQ(sorts.count(), 5);
    EXPECT_EQ(std::pair(sorts.at(0).at(0).value<SortKey>(), sorts.at(4).at(0).value<SortKey>()),
              std::pair(SortKey::Name, SortKey::Date));

    // A drag in the details mode moves; one thrown outside deletes; in the
    // other modes nothing moves.
    QSignalSpy moves(&view, &CutListView::moveRequested);
    QSignalSpy deletes(&view, &CutListView::deleteRequested);
    Drag(Centre(0), {Centre(0) + QPoint(0, 6), Centre(1), Centre(2)});
    EXPECT_EQ(moves, QList<QList<QVariant>>({{0, 2}}));
    Drag(Centre(1), {Centre(1) + QPoint(0, 6), QPoint(-3000, -3000)});  // out of the window
    EXPECT_EQ(deletes, QList<QList<QVariant>>({{1}}));
    Drag(Centre(1), {Centre(1) + QPoint(0, 2)});  // too short to be a drag
    // Icons are placed where dropped (above), not moved in the list.
    for (const ListViewType mode : {ListViewType::List, ListViewType::LargeIcons}) {
        view.ChangeViewType(mode);
        Drag(Centre(0), {Centre(0) + QPoint(0, 6), Centre(2)});
    }
    EXPECT_EQ(moves.count() + deletes.count(), 2);
}

TEST_F(ListView, TheDraggedObjectsPictureFollowsThePointerAsItsModeShowsIt)
{
    // The picture beside the pointer; null for none.
    const auto dragImage = [this] {
        for (QLabel* label : view.findChildren<QLabel*>()) {
            if (label->windowFlags().testFlag(Qt::ToolTip))
                return label->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        }
        return QImage();
    };
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const int dragged = model.AddObject(test::Record("/m/d.mpg"), picture, false);
    const QImage small = model.GetSmallImage(model.GetItemData(dragged));
    // No drag starts in the list mode: no picture follows the pointer.
    for (const auto& [mode, shown] : {std::pair{ListViewType::LargeIcons, picture},
                                      std::pair{ListViewType::Details, small}, std::pair{ListViewType::List, QImage()}}) {
        view.ChangeViewType(mode);
        Drag(Centre(dragged), {Centre(dragged) + QPoint(0, 16)}, [&, &shown = shown] { EXPECT_EQ(dragImage(), shown); });
        EXPECT_TRUE(dragImage().isNull());
    }
}

// A style that keeps what each item of a view was drawn with.
class DrawnItems : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_ItemViewItem) {
            const auto* item = qstyleoption_cast<const QStyleOptionViewItem*>(option);
            drawn[item->text] = *item;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable std::map<QString, QStyleOptionViewItem> drawn;
};

TEST_F(ListView, PathsShowTheirEndAndTheWholeNameAsATipAndNoTextGoesBeyondTheCut)
{
    // Draws the view in the mode once with a style that notes its items.
    const auto draw = [&](ListViewType mode) {
        view.ChangeViewType(mode);
        auto* style = new DrawnItems;
        style->setParent(view.ActiveView());
        view.ActiveView()->setStyle(style);
        QCoreApplication::processEvents();
        view.ActiveView()->viewport()->grab();
        return style->drawn;
    };
    const QString path = "/home/someone/videos/a-folder-with-a-rather-long-name/clips/holiday-03.mp4";
    const QString ownName = "a name of my own that is not a path at all";
    // Named once in the list, as a scenario names its objects.
    model.SetItemNames({path, model.GetItemName(1), model.GetItemName(2), model.GetItemName(3)});
    model.SetItemText(1, CutListModel::kColumnName, ownName);
    view.resize(400, 300);
    for (const ListViewType mode : {ListViewType::LargeIcons, ListViewType::SmallIcons, ListViewType::List}) {
        SCOPED_TRACE(static_cast<int>(mode));
        auto drawn = draw(mode);
        // One line cut at its start, in the room the view has; a name that
        // is no path is cut at its end.
        EXPECT_EQ(std::tuple(drawn[path].textElideMode, drawn[path].features.testFlag(QStyleOptionViewItem::WrapText),
                             drawn[ownName].textElideMode, TipOf(0)),
                  std::tuple(Qt::ElideLeft, false, Qt::ElideRight, path));
        EXPECT_LE(Place(0).right(), view.ActiveView()->viewport()->width());
    }

    const QString huge(4 << 20, u'n');
    const QString deepPath = u'/' + QStringList(15, QString(255, u'd')).join(u'/') + "/holiday-03.mp4";
    model.SetItemText(2, CutListModel::kColumnName, huge);
    model.SetItemText(3, CutListModel::kColumnName, deepPath);
    for (const ListViewType mode : {ListViewType::LargeIcons, ListViewType::SmallIcons, ListViewType::List,
                                    ListViewType::Details}) {
        SCOPED_TRACE(static_cast<int>(mode));
        const auto drawn = draw(mode);
        for (const auto& [text, option] : drawn)
            EXPECT_LE(text.size(), kMaxShownChars);
        EXPECT_EQ(drawn.count(ShownPath(deepPath)), 1u);
        if (mode != ListViewType::Details) {
            EXPECT_TRUE(TipOf(2).endsWith("n…") && TipOf(2).size() <= kMaxShownChars && TipOf(3).endsWith("/holiday-03.mp4") &&
                        TipOf(3).size() <= kMaxShownChars);
        }
    }
    EXPECT_EQ(std::pair(model.GetItemName(0), model.GetItemName(2)), std::pair(path, huge));
}

}  // namespace
}  // namespace kivo
