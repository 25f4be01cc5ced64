#include "ui/CommandActions.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QKeySequence>
#include <QMenu>
#include <QStyle>

namespace kivo {

QString MenuItem::ShownText() const
{
    return text == nullptr ? QString() : QCoreApplication::translate("Menu", text);
}

MenuItem PlayerSizeMenu()
{
    using enum Command;
    return {QT_TRANSLATE_NOOP("Menu", "画面ｻｲｽﾞ(&W)"), {NormalSize, DoubleSize, MaximumSize, kSeparator, FullScreen}};
}

void FillMenu(QMenu* menu, const std::vector<MenuItem>& items, const ActionMaker& actionOf)
{
    for (const MenuItem& item : items) {
        if (!item.items.empty())
            FillMenu(menu->addMenu(item.ShownText()), item.items, actionOf);
        else if (item.command == kSeparator)
            menu->addSeparator();
        else
            menu->addAction(actionOf(item, menu));
    }
}

QAction* NewCommandAction(Command command, QObject* parent, const QString& text)
{
    const CommandInfo& info = CommandInfoOf(command);
    auto* action = new QAction(text.isEmpty() ? CommandText(info.menuText) : text, parent);
    action->setShortcut(QKeySequence(info.shortcut.toString()));
    action->setStatusTip(CommandText(info.prompt));
    action->setToolTip(CommandText(info.toolTip));
    action->setData(static_cast<int>(command));
    return action;
}

Command CommandOf(const QAction* action)
{
    return static_cast<Command>(action->data().toInt());
}

void SetCommandTips(QWidget* button, Command command)
{
    button->setToolTip(CommandText(CommandInfoOf(command).toolTip));
    button->setStatusTip(CommandText(CommandInfoOf(command).prompt));
}

namespace {

// The style's icon, made once per run.
QIcon LoadedStandardIcon(QStyle::StandardPixmap pixmap)
{
    static QHash<QStyle::StandardPixmap, QIcon> loaded;
    auto place = loaded.find(pixmap);
    if (place == loaded.end())
        place = loaded.insert(pixmap, QApplication::style()->standardIcon(pixmap));
    return *place;
}

// A style's icon that is looked up when it is first drawn or measured. The
// style reads and decodes every size of each icon it makes, and most
// commands' icons show only in a menu once it opens: making them all
// beforehand held up the main window's first appearance by a fifth.
class DeferredStandardIcon : public QIconEngine {
public:
    explicit DeferredStandardIcon(QStyle::StandardPixmap pixmap) : m_pixmap(pixmap) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    QString iconName() override { return Icon().name(); }
    // Asked by buttons as they are laid out; the style has a picture of its
    // own for every standard one, and looking would load it.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("DeferredStandardIcon"); }
    QIconEngine* clone() const override { return new DeferredStandardIcon(m_pixmap); }

private:
    QIcon Icon() const { return LoadedStandardIcon(m_pixmap); }

    QStyle::StandardPixmap m_pixmap;
};

}  // namespace

QIcon StandardIcon(QStyle::StandardPixmap pixmap)
{
    return QIcon(new DeferredStandardIcon(pixmap));
}

QIcon PictureIcon(Picture picture)
{
    const auto icon = StandardIcon;
    switch (picture) {
    case Picture::None:
        return {};
    case Picture::File:
        return icon(QStyle::SP_FileIcon);
    case Picture::Open:
        return icon(QStyle::SP_DialogOpenButton);
    case Picture::Save:
        return icon(QStyle::SP_DialogSaveButton);
    case Picture::Discard:
        return icon(QStyle::SP_DialogDiscardButton);
    case Picture::Trash:
        return icon(QStyle::SP_TrashIcon);
    case Picture::ContentsView:
        return icon(QStyle::SP_FileDialogContentsView);
    case Picture::InfoView:
        return icon(QStyle::SP_FileDialogInfoView);
    case Picture::ListView:
        return icon(QStyle::SP_FileDialogListView);
    case Picture::DetailedView:
        return icon(QStyle::SP_FileDialogDetailedView);
    case Picture::Computer:
        return icon(QStyle::SP_ComputerIcon);
    case Picture::Volume:
        return icon(QStyle::SP_MediaVolume);
    case Picture::StartFolder:
        return icon(QStyle::SP_FileDialogStart);
    case Picture::Information:
        return icon(QStyle::SP_MessageBoxInformation);
    case Picture::SkipBackward:
        return icon(QStyle::SP_MediaSkipBackward);
    case Picture::SkipForward:
        return icon(QStyle::SP_MediaSkipForward);
    }
    return {};
}

}  // namespace kivo
