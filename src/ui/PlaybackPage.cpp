#include "ui/PlaybackPage.h"

#include "ui/CommandActions.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace kivo {
namespace {

QSlider* MakeSlider(const char* name, int minimum, int maximum, int tickInterval, QSlider::TickPosition ticks)
{
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(minimum, maximum);
    slider->setTickInterval(tickInterval);
    slider->setTickPosition(ticks);
    return slider;
}

QCheckBox* MakeCheckBox(const QString& text, const char* name, bool checked)
{
    auto* box = new QCheckBox(text);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

// A slider with its caption above it and its two end labels beside it.
void AddLabelledSlider(QGridLayout* grid, int column, const QString& caption, const QString& left, QSlider* slider,
                       const QString& right)
{
    grid->addWidget(new QLabel(caption), 0, column + 1);
    grid->addWidget(new QLabel(left), 1, column);
    grid->addWidget(slider, 1, column + 1);
    grid->addWidget(new QLabel(right), 1, column + 2);
}

}  // namespace

PlaybackPage::PlaybackPage(const PlaybackOptions& options, const PlaybackLevels& levels, LevelControls controls,
                           QWidget* parent)
    : QWidget(parent), m_controls(std::move(controls)), m_bHasMedia(levels.hasMedia), m_dSpeed(levels.rate)
{
    m_sldVolume = MakeSlider("volume", -100, 0, 10, QSlider::TicksBothSides);
    m_sldBalance = MakeSlider("balance", -100, 100, 20, QSlider::TicksBelow);
    auto* sound = new QGroupBox(tr("音声"));
    auto* soundGrid = new QGridLayout(sound);
    AddLabelledSlider(soundGrid, 0, tr("音量"), tr("小"), m_sldVolume, tr("大"));
    soundGrid->setColumnMinimumWidth(3, 16);
    AddLabelledSlider(soundGrid, 4, tr("ﾊﾞﾗﾝｽ"), tr("左"), m_sldBalance,
                      tr("右"));

    m_sldSpeed = MakeSlider("speed", kSpeedSliderMinimum, kSpeedSliderMaximum, 100, QSlider::TicksBothSides);
    m_sldSpeed->setPageStep(1);
    m_sldSpeed->setSingleStep(1);
    m_sldSpeed->setValue(SpeedSliderPosition(m_dSpeed));
    m_edSpeed = new QLineEdit(SpeedReadout(m_dSpeed));
    m_edSpeed->setObjectName(QStringLiteral("speedReadout"));
    m_edSpeed->setReadOnly(true);
    m_edSpeed->setAlignment(Qt::AlignRight);
    m_edSpeed->setFixedWidth(m_edSpeed->fontMetrics().horizontalAdvance(QStringLiteral("0.000")) + 8);
    // A click on the icon goes back to normal speed.
    m_btnSpeedIcon = new QToolButton;
    m_btnSpeedIcon->setObjectName(QStringLiteral("speedIcon"));
    m_btnSpeedIcon->setAutoRaise(true);
    ShowSpeedIcon(SpeedIcon::Normal);
    auto* speed = new QGroupBox(tr("速度"));
    auto* speedRow = new QHBoxLayout(speed);
    speedRow->addWidget(m_btnSpeedIcon);
    speedRow->addWidget(m_edSpeed);
    speedRow->addWidget(m_sldSpeed, 1);
    // Without media there is no speed in force to show or change.
    speed->setEnabled(m_bHasMedia);

    m_chkAutoSize = MakeCheckBox(tr("自動ｻｲｽﾞ変更"), "autoSize", options.autoSize);
    m_chkRepeat = MakeCheckBox(tr("自動繰り返し"), "repeat", options.repeat);
    m_chkAutoRewind = MakeCheckBox(tr("自動巻き戻し"), "autoRewind", options.autoRewind);
    m_chkStretch = MakeCheckBox(tr("ｽﾄﾚｯﾁ"), "stretch", options.stretch);
    auto* switches = new QVBoxLayout;
    for (QCheckBox* box : {m_chkAutoSize, m_chkRepeat, m_chkAutoRewind, m_chkStretch})
        switches->addWidget(box);

    auto* layout = new QGridLayout(this);
    layout->addWidget(sound, 0, 0, 1, 2);
    layout->addWidget(speed, 1, 0);
    layout->addLayout(switches, 1, 1);
    layout->setRowStretch(2, 1);

    const AudioSliders sliders = AudioSliderPositions(levels.volume, levels.balance, levels.muted);
    m_sldVolume->setValue(sliders.volume);
    m_sldBalance->setValue(sliders.balance);
    m_sldVolume->setEnabled(sliders.enabled);
    m_sldBalance->setEnabled(sliders.enabled);

    // Each move goes straight to the player, which keeps the levels.
    connect(m_sldVolume, &QSlider::valueChanged, this, [this](int position) {
        if (m_controls.setVolume)
            m_controls.setVolume(-position);
    });
    connect(m_sldBalance, &QSlider::valueChanged, this, [this](int position) {
        if (m_controls.setBalance)
            m_controls.setBalance(position);
    });
    // The read-out follows the slider all the time; the speed itself is
    // asked for when the user lets go of the slider, or after each step
    // taken with the keys, the mouse wheel or a click beside the handle.
    connect(m_sldSpeed, &QSlider::valueChanged, this, [this](int position) {
        m_dSpeed = position / 100.0;
        m_edSpeed->setText(SpeedReadout(m_dSpeed));
    });
    connect(m_sldSpeed, &QSlider::sliderReleased, this, [this] { ApplySpeed(m_sldSpeed->value()); });
    connect(m_sldSpeed, &QSlider::actionTriggered, this, [this] {
        if (!m_sldSpeed->isSliderDown())
            ApplySpeed(m_sldSpeed->sliderPosition());
    });
    connect(m_btnSpeedIcon, &QToolButton::clicked, this, &PlaybackPage::SetNormalSpeed);
}

PlaybackOptions PlaybackPage::Options() const
{
    return {m_chkStretch->isChecked(), m_chkAutoRewind->isChecked(), m_chkRepeat->isChecked(),
            m_chkAutoSize->isChecked()};
}

bool PlaybackPage::SpeedIsValid() const
{
    return !m_bHasMedia || SpeedInRange(m_dSpeed);
}

void PlaybackPage::ReportInvalidSpeed()
{
    QMessageBox::warning(this, QStringLiteral("Kivo231"),
                         tr("速度には %1 から %2 までの数値を指定してください。")
                             .arg(SpeedReadout(kSpeedMinimum), SpeedReadout(kSpeedMaximum)));
    m_sldSpeed->setFocus();
}

void PlaybackPage::ApplySpeed(int speed)
{
    const bool accepted = m_controls.setSpeed && m_controls.setSpeed(speed);
    ShowSpeedIcon(SpeedIconAfter(accepted, speed));
}

void PlaybackPage::SetNormalSpeed()
{
    m_sldSpeed->setValue(100);
    m_dSpeed = 1.0;
    ApplySpeed(100);
    m_edSpeed->setText(SpeedReadout(m_dSpeed));
}

void PlaybackPage::ShowSpeedIcon(SpeedIcon icon)
{
    static constexpr QStyle::StandardPixmap kIcons[] = {QStyle::SP_MediaPlay, QStyle::SP_MediaSeekForward,
                                                        QStyle::SP_MediaSkipForward, QStyle::SP_DialogCancelButton};
    m_speedIcon = icon;
    m_btnSpeedIcon->setIcon(StandardIcon(kIcons[static_cast<int>(icon)]));
}

}  // namespace kivo
