#include "ui/PropertySheet.h"

#include "ui/ElementPropertiesDialog.h"

#include "cutlist/ShownText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kivo {
namespace {

QLabel* MakePicture(const QImage& picture)
{
    auto* label = new QLabel;
    label->setObjectName(QStringLiteral("picture"));
    label->setFixedSize(64, 48);
    label->setPixmap(QPixmap::fromImage(picture));
    return label;
}

// The widest a text of a page makes the sheet.
constexpr int kWidestText = 480;

// A text of the page: the sheet is wide enough for it, up to kWidestText; a
// longer one is cut at the page's edge and shows whole as a tool tip.
QLabel* MakeText(const QString& text, const char* name)
{
    const QString shown = ShownName(text);
    auto* label = new QLabel(shown);
    label->setObjectName(QString::fromLatin1(name));
    label->setToolTip(shown);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(std::min(label->sizeHint().width(), kWidestText));
    return label;
}

void AddRow(QGridLayout* grid, int row, const QString& caption, const QString& text, const char* name)
{
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(MakeText(text, name), row, 1);
}

// The picture at the top left with the object's name beside it.
QGridLayout* MakePageGrid(QWidget* page, const QImage& picture, const QString& name, const char* nameObject)
{
    auto* grid = new QGridLayout(page);
    grid->setColumnStretch(1, 1);
    grid->addWidget(MakePicture(picture), 0, 0, 2, 1, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(MakeText(name, nameObject), 0, 1, Qt::AlignTop);
    return grid;
}

QWidget* MakeMediaPage(const MediaPageTexts& media)
{
    auto* page = new QWidget;
    QGridLayout* grid = MakePageGrid(page, media.picture, media.name, "name");
    grid->addWidget(MakeText(media.message, "message"), 1, 1, Qt::AlignTop);
    AddRow(grid, 2, PropertySheet::tr("種類:"), media.type, "type");
    AddRow(grid, 3, PropertySheet::tr("ﾒﾃﾞｨｱ時間:"), media.time, "time");
    AddRow(grid, 4, PropertySheet::tr("ｻｲｽﾞ:"), media.size, "size");
    AddRow(grid, 5, PropertySheet::tr("更新日時:"), media.date, "date");
    AddRow(grid, 6, PropertySheet::tr("場所:"), media.location, "location");
    grid->setRowStretch(7, 1);
    return page;
}

QWidget* MakePlayerPage(const PlayerPageTexts& player, MediaEngine& engine)
{
    auto* page = new QWidget;
    QGridLayout* grid = MakePageGrid(page, player.picture, player.fileName, "fileName");
    AddRow(grid, 2, PropertySheet::tr("種類:"), player.type, "type");
    AddRow(grid, 3, PropertySheet::tr("ﾒﾃﾞｨｱ時間:"), player.time, "time");
    AddRow(grid, 4, PropertySheet::tr("ﾋﾞﾃﾞｵｻｲｽﾞ:"), player.videoSize, "videoSize");

    auto* filters = new QListWidget;
    filters->setObjectName(QStringLiteral("filters"));
    // In alphabetical order, whatever the letter case.
    QStringList names = player.filters;
    names.sort(Qt::CaseInsensitive);
    filters->addItems(names);
    if (filters->count() > 0)
        filters->setCurrentRow(0);
    filters->setFixedHeight(filters->fontMetrics().height() * 27 / 8 + 2 * filters->frameWidth());
    auto* button = new QPushButton(PropertySheet::tr("ﾌﾟﾛﾊﾟﾃｨ"));
    button->setObjectName(QStringLiteral("filterProperties"));
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(PropertySheet::tr("ﾌｨﾙﾀ:")));
    left->addWidget(button);
    left->addStretch();
    grid->addLayout(left, 5, 0);
    grid->addWidget(filters, 5, 1);
    grid->setRowStretch(6, 1);

    const auto showSelected = [filters, &engine, page] {
        if (const QListWidgetItem* item = filters->currentItem())
            ShowFilterProperties(engine, item->text(), page);
    };
    QObject::connect(button, &QPushButton::clicked, page, showSelected);
    QObject::connect(filters, &QListWidget::itemDoubleClicked, page, showSelected);
    return page;
}

}  // namespace

PropertySheet::PropertySheet(const ObjectProperties& properties, MediaEngine& engine, LevelControls levels,
                             QWidget* parent)
    : QDialog(parent), m_options(properties.options)
{
    setWindowTitle(tr("ﾌﾟﾛﾊﾟﾃｨ"));
    m_tabs = new QTabWidget;
    for (PropertyPage page : properties.pages) {
        QWidget* widget = nullptr;
        switch (page) {
        case PropertyPage::Media:
            widget = MakeMediaPage(properties.media);
            m_tabs->addTab(widget, tr("ﾒﾃﾞｨｱ"));
            break;
        case PropertyPage::Player:
            widget = MakePlayerPage(properties.player, engine);
            m_tabs->addTab(widget, tr("ﾌﾟﾚｲﾔ"));
            break;
        case PropertyPage::Playback:
            m_playback = new PlaybackPage(properties.options, properties.levels, levels);
            widget = m_playback;
            m_tabs->addTab(widget, tr("ﾌﾟﾚｲﾊﾞｯｸ"));
            break;
        }
        if (page == properties.active)
            m_tabs->setCurrentWidget(widget);
    }
    m_shownPage = m_tabs->currentIndex();
    connect(m_tabs, &QTabWidget::currentChanged, this, &PropertySheet::OnPageChanged);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

PlaybackOptions PropertySheet::Options() const
{
    return m_playback != nullptr ? m_playback->Options() : m_options;
}

void PropertySheet::accept()
{
    if (m_playback != nullptr && m_tabs->currentWidget() == m_playback && !m_playback->SpeedIsValid()) {
        m_playback->ReportInvalidSpeed();
        return;
    }
    QDialog::accept();
}

// The playback page may only be left with a speed in range.
void PropertySheet::OnPageChanged(int index)
{
    if (m_playback != nullptr && m_tabs->widget(m_shownPage) == m_playback && !m_playback->SpeedIsValid()) {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentWidget(m_playback);
        m_playback->ReportInvalidSpeed();
        return;
    }
    m_shownPage = index;
}

void ShowProperties(const PropertiesContext& context, QWidget* owner)
{
    const ObjectProperties properties =
        GatherObjectProperties(context.list, context.cache, context.engine, context.menuItem, context.bPlayback);
    if (properties.item < 0)
        return;
    PropertySheet sheet(properties, context.engine, context.levels, owner);
    if (sheet.exec() == QDialog::Accepted)
        ReturnPlaybackOptions(context.engine, sheet.Options(), context.layoutVideo);
}

}  // namespace kivo
