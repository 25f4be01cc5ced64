#include "TestRecords.h"
#include "core/Settings.h"
#include "cutlist/ShownText.h"
#include "ui/CutListView.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

#include <gtest/gtest.h>

#include <map>

namespace kivo {
namespace {

class ListView : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* path : {"/m/a.mpg", "/m/b.wav", "/m/c.txt"})
            model.AddObject(test::Record(path), QImage(), false);
        view.resize(600, 400);
        view.show();
    }

    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    CutListModel model;
    CutListView view{model};
};

TEST_F(ListView, ModesShareOneModelAndStateImagesShowInTheDetailsAndListModesOnly)
{
    // Beside /m/a.mpg, standing by, the same name for an invalid object,
    // which never shows a state image.
    model.AddObject(test::Record("/m/a.mpg", 0, kFlagInvalid), QImage(), false);
    const auto widthOf = [this](int position) {
        return view.ActiveView()->sizeHintForIndex(model.index(position, CutListModel::kColumnName)).width();
    };
    EXPECT_EQ(view.ViewType(), ListViewType::LargeIcons);
    EXPECT_EQ(widthOf(0), widthOf(3));
    view.ChangeViewType(ListViewType::Details);
    EXPECT_NE(qobject_cast<QTreeView*>(view.ActiveView()), nullptr);
    EXPECT_EQ(widthOf(0), widthOf(3) + 21);
    view.ChangeViewType(ListViewType::SmallIcons);
    EXPECT_EQ(qobject_cast<QTreeView*>(view.ActiveView()), nullptr);
    EXPECT_EQ(widthOf(0), widthOf(3));
    view.ChangeViewType(ListViewType::List);
    EXPECT_EQ(widthOf(0), widthOf(3) + 21);
}

TEST(ListViewIcons, ObjectsAddedBeforeTheWindowCameUpAreSetInRowsOfItsWidth)
{
    CutListModel model;
    CutListView view{model};
    for (const char* path : {"/m/a.mpg", "/m/b.wav", "/m/c.txt", "/m/d.avi"})
        model.AddObject(test::Record(path), QImage(), false);
    view.Arrange();  // as an opened scenario asks, while the view is small
    view.resize(600, 400);
    view.show();
    const auto top = [&](int position) { return view.ActiveView()->visualRect(model.index(position, 0)).top(); };
    EXPECT_EQ(top(3), top(0));
}

TEST_F(ListView, LayoutIsKeptWithWidthsOnlyFromTheDetailsMode)
{
    settings.Set(setting::kType, 1);  // details
    settings.Set(setting::kAutoArrange, 256);
    settings.Set(setting::kColumnWidths[1], 90);
    view.RestoreLayout(settings);
    EXPECT_EQ(view.ViewType(), ListViewType::Details);
    EXPECT_TRUE(view.IsAutoArrange());
    auto* details = qobject_cast<QTreeView*>(view.ActiveView());
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->header()->sectionSize(0), 256);
    EXPECT_EQ(details->header()->sectionSize(1), 90);

    details->header()->resizeSection(5, 140);
    view.SaveLayout(settings);
    EXPECT_EQ(settings.Get(setting::kColumnWidths[5]), 140);

    details->header()->resizeSection(5, 50);
    view.ChangeViewType(ListViewType::List);
    view.SetAutoArrange(false);
    view.SaveLayout(settings);
    EXPECT_EQ(settings.Get(setting::kColumnWidths[5]), 140);  // not in details mode: kept
    EXPECT_EQ(settings.Get(setting::kType), 3);  // list
    EXPECT_EQ(settings.Get(setting::kAutoArrange), 0);
}

TEST_F(ListView, HeaderClicksAskForSortsExceptOnTheStateColumn)
{
    view.ChangeViewType(ListViewType::Details);
    QSignalSpy sorts(&view, &CutListView::sortRequested);
    auto* header = qobject_cast<QTreeView*>(view.ActiveView())->header();
    for (int column : {0, 1, 2, 3, 4, 5})
        emit header->sectionClicked(column);
    ASSERT_EQ(sorts.count(), 5);
    EXPECT_EQ(sorts.at(0).at(0).value<SortKey>(), SortKey::Name);
    EXPECT_EQ(sorts.at(2).at(0).value<SortKey>(), SortKey::Size);
    EXPECT_EQ(sorts.at(4).at(0).value<SortKey>(), SortKey::Date);
}

TEST_F(ListView, ASingleClickOnAnObjectPlaysItOnEmptySpaceOnlyRefreshesAndRightClicksNameEither)
{
    view.ChangeViewType(ListViewType::Details);
    QSignalSpy objects(&view, &CutListView::objectClicked);
    QSignalSpy space(&view, &CutListView::spaceClicked);
    auto* list = view.ActiveView();
    const QRect second = list->visualRect(model.index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    ASSERT_EQ(objects.count(), 1);
    EXPECT_EQ(objects.at(0).at(0).toInt(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 5));
    EXPECT_EQ(space.count(), 1);

    // Right clicks name the object or empty space.
    QSignalSpy menus(&view, &CutListView::contextMenuRequested);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualRect(model.index(2, 0)).center());
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(5, list->viewport()->height() - 5));
    ASSERT_EQ(menus.count(), 2);
    EXPECT_EQ(menus.at(0).at(0).toInt(), 2);
    EXPECT_EQ(menus.at(1).at(0).toInt(), -1);
    EXPECT_EQ(objects.count() + space.count(), 2);
}

// Presses on one place of the active view, drags through `path` and lets go
// at its last point.
void Drag(CutListView& view, QPoint from, std::initializer_list<QPoint> path)
{
    QWidget* viewport = view.ActiveView()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QPoint last = from;
    for (const QPoint& point : path) {
        QTest::mouseMove(viewport, point);
        last = point;
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, last);
}

TEST_F(ListView, DraggingMovesInDetailsThrowsOutsideAndMovesNothingInTheOtherModes)
{
    QSignalSpy moves(&view, &CutListView::moveRequested);
    QSignalSpy deletes(&view, &CutListView::deleteRequested);
    view.ChangeViewType(ListViewType::Details);
    const auto centre = [&](int row) { return view.ActiveView()->visualRect(model.index(row, 0)).center(); };
    Drag(view, centre(0), {centre(0) + QPoint(0, 6), centre(1), centre(2)});
    ASSERT_EQ(moves.count(), 1);
    EXPECT_EQ(moves.at(0), QList<QVariant>({0, 2}));
    Drag(view, centre(1), {centre(1) + QPoint(0, 6), QPoint(-3000, -3000)});  // out of the window
    ASSERT_EQ(deletes.count(), 1);
    EXPECT_EQ(deletes.at(0).at(0).toInt(), 1);
    Drag(view, centre(1), {centre(1) + QPoint(0, 2)});  // too short to be a drag
    EXPECT_EQ(moves.count(), 1);

    // Icons are placed where dropped (MainWindowTest), not moved in the list.
    for (const ListViewType mode : {ListViewType::List, ListViewType::LargeIcons}) {
        view.ChangeViewType(mode);
        Drag(view, centre(0), {centre(0) + QPoint(0, 6), centre(2)});
    }
    EXPECT_EQ(moves.count() + deletes.count(), 2);
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

    // Draws the list's items once with a style that notes them.
    static const DrawnItems* Draw(QAbstractItemView* list)
    {
        auto* style = new DrawnItems;
        style->setParent(list);
        list->setStyle(style);
        QCoreApplication::processEvents();
        list->viewport()->grab();
        return style;
    }

    mutable std::map<QString, QStyleOptionViewItem> drawn;
};

TEST_F(ListView, InTheIconAndListModesAPathShowsItsEndAndTheWholeNameAsATip)
{
    const QString path = "/home/someone/videos/a-folder-with-a-rather-long-name/clips/holiday-03.mp4";
    // Named once in the list, as a scenario names its objects.
    const int named = model.AddObject(test::Record(path), QImage(), true);
    QCoreApplication::processEvents();
    model.SetItemNames({model.GetItemName(0), model.GetItemName(1), model.GetItemName(2), path});
    model.SetItemText(0, CutListModel::kColumnName, "a name of my own that is not a path at all");
    view.resize(400, 300);
    for (const ListViewType mode : {ListViewType::LargeIcons, ListViewType::SmallIcons, ListViewType::List}) {
        view.ChangeViewType(mode);
        QAbstractItemView* list = view.ActiveView();
        const DrawnItems* style = DrawnItems::Draw(list);
        SCOPED_TRACE(static_cast<int>(mode));
        ASSERT_EQ(style->drawn.count(path), 1u);
        const QStyleOptionViewItem& drawn = style->drawn[path];
        EXPECT_EQ(drawn.textElideMode, Qt::ElideLeft);
        EXPECT_FALSE(drawn.features.testFlag(QStyleOptionViewItem::WrapText));
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &drawn, list);
        const QString shown = drawn.fontMetrics.elidedText(path, Qt::ElideLeft, text.width());
        EXPECT_TRUE(shown.startsWith(QChar(0x2026)) && shown.endsWith("holiday-03.mp4")) << shown.toStdString();
        EXPECT_LE(list->visualRect(model.index(named, 0)).right(), list->viewport()->width());
        // A name that is no path is shown as before.
        EXPECT_EQ(style->drawn[model.GetItemName(0)].textElideMode, Qt::ElideRight);

        QHelpEvent tip(QEvent::ToolTip, list->visualRect(model.index(named, 0)).center(), QPoint(0, 0));
        QApplication::sendEvent(list->viewport(), &tip);
        EXPECT_EQ(QToolTip::text(), path);
        QToolTip::hideText();
        list->setStyle(nullptr);
    }
    EXPECT_EQ(model.GetItemName(named), path);
}

TEST_F(ListView, NamesOfMegabytesAndTheLongestPathsReachTheViewsCut)
{
    const QString huge(4 << 20, u'n');
    QString deepPath;
    while (deepPath.size() < 4095 - 256)
        deepPath += u'/' + QString(255, u'd');
    deepPath += QStringLiteral("/holiday-03.mp4");
    model.SetItemText(0, CutListModel::kColumnName, huge);
    model.SetItemText(1, CutListModel::kColumnName, deepPath);
    for (const ListViewType mode :
         {ListViewType::LargeIcons, ListViewType::SmallIcons, ListViewType::List, ListViewType::Details}) {
        view.ChangeViewType(mode);
        QAbstractItemView* list = view.ActiveView();
        const DrawnItems* style = DrawnItems::Draw(list);
        SCOPED_TRACE(static_cast<int>(mode));
        ASSERT_FALSE(style->drawn.empty());
        for (const auto& [text, option] : style->drawn)
            EXPECT_LE(text.size(), kMaxShownChars);
        EXPECT_EQ(style->drawn.count(ShownPath(deepPath)), 1u);
        if (mode != ListViewType::Details) {
            for (const int position : {0, 1}) {
                QHelpEvent tip(QEvent::ToolTip, list->visualRect(model.index(position, 0)).center(), QPoint(0, 0));
                QApplication::sendEvent(list->viewport(), &tip);
                EXPECT_LE(QToolTip::text().size(), kMaxShownChars);
                EXPECT_TRUE(QToolTip::text().endsWith(position == 0 ? "n…" : "/holiday-03.mp4"));
                QToolTip::hideText();
            }
        }
        list->setStyle(nullptr);
    }
    EXPECT_EQ(model.GetItemName(0), huge);
}

TEST_F(ListView, TheDraggedObjectsPictureFollowsThePointerAsItsModeShowsIt)
{
    const auto dragImage = [this]() -> QLabel* {
        for (QLabel* label : view.findChildren<QLabel*>()) {
            if (label->windowFlags().testFlag(Qt::ToolTip))
                return label;
        }
        return nullptr;
    };
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const int dragged = model.AddObject(test::Record("/m/d.mpg"), picture, false);
    for (const auto& [mode, size] : {std::pair{ListViewType::LargeIcons, QSize(64, 48)},
                                     std::pair{ListViewType::Details, QSize(32, 24)}}) {
        view.ChangeViewType(mode);
        QWidget* viewport = view.ActiveView()->viewport();
        const QPoint from = view.ActiveView()->visualRect(model.index(dragged, 0)).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, from + QPoint(0, 16));
        QLabel* image = dragImage();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                  (mode == ListViewType::LargeIcons ? picture : model.GetSmallImage(model.GetItemData(dragged))));
        EXPECT_EQ(image->pixmap().size(), size);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + QPoint(0, 16));
        EXPECT_EQ(dragImage(), nullptr);
    }
}

}  // namespace
}  // namespace kivo
