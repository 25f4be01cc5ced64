#include "ui/ControlBars.h"

#include "ui/CommandActions.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDockWidget>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>

namespace kivo {

// The liquid-crystal time display: a 40 x 19 green panel with seven-segment
// glyphs 5 x 9 pixels large.
class TimeDisplay : public QWidget {
public:
    explicit TimeDisplay(QWidget* parent) : QWidget(parent) { setFixedSize(40, 19); }

    void Show(int position)
    {
        m_glyphs = TimeDisplayGlyphs(position);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(40, 72, 32));
        painter.fillRect(rect().adjusted(1, 1, -1, -1), QColor(118, 196, 84));
        for (const auto& [glyph, x] : m_glyphs)
            DrawGlyph(painter, glyph, x, 5);
    }

private:
    // Segments a-g as bits 0-6: top, upper right, lower right, bottom, lower
    // left, upper left, middle.
    static int SegmentsOf(int glyph)
    {
        static constexpr int kDigits[] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
        static constexpr int kOver[] = {0x3F, 0x3E, 0x79, 0x50};  // O, V (as U), E, r
        if (glyph >= 0 && glyph <= 9)
            return kDigits[glyph];
        if (glyph >= 32 && glyph <= 35)
            return kOver[glyph - 32];
        return 0;
    }

    static void DrawGlyph(QPainter& painter, int glyph, int x, int y)
    {
        const QColor ink(24, 40, 20);
        if (glyph == 17) {
            painter.fillRect(x + 1, y + 2, 1, 1, ink);
            painter.fillRect(x + 1, y + 6, 1, 1, ink);
            return;
        }
        const QRect segments[] = {{x + 1, y, 3, 1},     {x + 4, y + 1, 1, 3}, {x + 4, y + 5, 1, 3}, {x + 1, y + 8, 3, 1},
                                  {x, y + 5, 1, 3},     {x, y + 1, 1, 3},     {x + 1, y + 4, 3, 1}};
        const int lit = SegmentsOf(glyph);
        for (int i = 0; i < 7; ++i) {
            if (lit & (1 << i))
                painter.fillRect(segments[i], ink);
        }
    }

    std::vector<std::pair<int, int>> m_glyphs;
};

namespace {

// The position slider, moved with each report of the position while a file
// plays: a move that leaves its handle where it was draws nothing, as each
// drawing of the window waits for the X server to have shown the last one.
class PositionSlider : public QSlider {
public:
    PositionSlider() : QSlider(Qt::Horizontal) {}

protected:
    void sliderChange(SliderChange change) override
    {
        if (change == SliderValueChange && HandleRect() == m_drawnHandle)
            return;
        QSlider::sliderChange(change);
    }

    void paintEvent(QPaintEvent* event) override
    {
        m_drawnHandle = HandleRect();
        QSlider::paintEvent(event);
    }

private:
    QRect HandleRect() const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    }

    QRect m_drawnHandle;
};

QSlider* SetUpSlider(QSlider* slider, int minimum, int maximum, int tickInterval)
{
    const Qt::Orientation orientation = slider->orientation();
    slider->setRange(minimum, maximum);
    slider->setTickInterval(tickInterval);
    slider->setTickPosition(orientation == Qt::Vertical ? QSlider::TicksBothSides : QSlider::TicksBelow);
    // Vertical sliders run from their minimum at the top, and Up and the
    // wheel forward move the thumb up, as it looks.
    slider->setInvertedAppearance(orientation == Qt::Vertical);
    slider->setInvertedControls(orientation == Qt::Vertical);
    return slider;
}

// The speed icon below normal speed: a bar and a small arrow, an arrow held
// back, beside the single arrow of normal speed and the double arrow above.
QIcon SlowerSpeedIcon()
{
    static const QIcon icon = [] {
        QIcon made;
        for (const int size : {16, 32}) {
            QPixmap picture(size, size);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(size / 16.0, size / 16.0);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QApplication::palette().windowText());
            painter.drawRect(QRectF(3, 3, 2, 10));
            painter.drawPolygon(QPolygonF({QPointF(7, 5), QPointF(12, 8), QPointF(7, 11)}));
            made.addPixmap(picture);
        }
        return made;
    }();
    return icon;
}

}  // namespace

ControlBars::ControlBars(QMainWindow& window)
    : QObject(&window),
      m_controlBar(MakeBar(window, QStringLiteral("Control Bar"), QStringLiteral("ControlBar"), MakeControlBar(),
                           Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea)),
      m_volumeBar(MakeBar(window, tr("音量"), QStringLiteral("VolumeBar"), MakeVolumeBar(),
                          Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea)),
      m_speedBar(MakeBar(window, tr("速度"), QStringLiteral("SpeedBar"), MakeSpeedBar(),
                         Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea))
{
    window.addDockWidget(Qt::BottomDockWidgetArea, m_controlBar);
    window.addDockWidget(Qt::LeftDockWidgetArea, m_volumeBar);
    window.addDockWidget(Qt::LeftDockWidgetArea, m_speedBar);
    ShowFirstSlot(FirstSlot::GreyedPlay);
    ShowSecondSlot(SecondSlot::GreyedStop);
    ShowSpeedIcon(SpeedIcon::Normal);
}

QDockWidget* ControlBars::MakeBar(QMainWindow& window, const QString& title, const QString& name, QWidget* content,
                                  Qt::DockWidgetAreas areas)
{
    auto* bar = new QDockWidget(title, &window);
    bar->setObjectName(name);
    bar->setAllowedAreas(areas);
    bar->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                     QDockWidget::DockWidgetFloatable);
    // A floating bar coming up leaves the keys where they are.
    bar->setAttribute(Qt::WA_ShowWithoutActivating);
    bar->setWidget(content);
    return bar;
}

QToolButton* ControlBars::MakeTransportButton(Command command)
{
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setFixedSize(22, 21);
    connect(button, &QToolButton::clicked, this, [this, button, command] {
        // The first slot is play or pause as the play state says.
        const bool first = button == m_firstButton;
        emit commandRequested(first && m_firstSlot == FirstSlot::Pause ? Command::Pause : command);
    });
    return button;
}

QWidget* ControlBars::MakeControlBar()
{
    auto* bar = new QWidget;
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(0);
    m_firstButton = MakeTransportButton(Command::PlayPause);
    m_secondButton = MakeTransportButton(Command::Stop);
    m_secondButton->setIcon(StandardIcon(QStyle::SP_MediaStop));
    SetCommandTips(m_secondButton, Command::Stop);
    m_time = new TimeDisplay(bar);
    m_position = SetUpSlider(new PositionSlider, 0, 0, 0);
    m_position->setTickPosition(QSlider::NoTicks);
    m_position->setPageStep(3);
    m_position->setEnabled(false);
    m_position->setObjectName(QStringLiteral("position"));
    connect(m_position, &QSlider::valueChanged, this, [this](int value) {
        if (!m_movingPosition)
            emit sliderMoved(FrameProtocol::Slider::Position, value);
    });
    connect(m_position, &QSlider::sliderReleased, this, &ControlBars::positionSliderReleased);
    layout->addWidget(m_firstButton);
    layout->addWidget(m_secondButton);
    layout->addSpacing(4);
    layout->addWidget(m_time);
    layout->addSpacing(6);
    layout->addWidget(m_position, 1);
    return bar;
}

QWidget* ControlBars::MakeVolumeBar()
{
    auto* bar = new QWidget;
    auto* layout = new QVBoxLayout(bar);
    layout->setContentsMargins(4, 4, 4, 4);
    m_balance = SetUpSlider(new QSlider(Qt::Horizontal), -100, 100, 100);
    m_balance->setObjectName(QStringLiteral("balance"));
    m_balance->setFixedWidth(44);
    m_volume = SetUpSlider(new QSlider(Qt::Vertical), 0, 100, 10);
    m_volume->setObjectName(QStringLiteral("volume"));
    m_volume->setValue(100);
    connect(m_balance, &QSlider::valueChanged, this,
            [this](int value) { emit sliderMoved(FrameProtocol::Slider::Balance, value); });
    connect(m_volume, &QSlider::valueChanged, this,
            [this](int value) { emit sliderMoved(FrameProtocol::Slider::Volume, value); });
    layout->addWidget(m_balance, 0, Qt::AlignHCenter);
    layout->addWidget(m_volume, 1, Qt::AlignHCenter);
    return bar;
}

QWidget* ControlBars::MakeSpeedBar()
{
    auto* bar = new QWidget;
    auto* layout = new QVBoxLayout(bar);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    // A click on the icon goes back to normal speed.
    m_speedIcon = new QToolButton;
    m_speedIcon->setObjectName(QStringLiteral("speedIcon"));
    m_speedIcon->setAutoRaise(true);
    SetCommandTips(m_speedIcon, Command::NormalSpeed);
    connect(m_speedIcon, &QToolButton::clicked, this, [this] { emit commandRequested(Command::NormalSpeed); });
    m_speedReadout = new QLineEdit(QStringLiteral("1.00"));
    m_speedReadout->setObjectName(QStringLiteral("speedReadout"));
    m_speedReadout->setReadOnly(true);
    m_speedReadout->setAlignment(Qt::AlignRight);
    m_speedReadout->setFixedWidth(m_speedReadout->fontMetrics().horizontalAdvance(QStringLiteral("0.000")) + 8);
    m_speed = SetUpSlider(new QSlider(Qt::Vertical), -400, -1, 100);
    m_speed->setObjectName(QStringLiteral("speed"));
    m_speed->setPageStep(1);
    m_speed->setSingleStep(1);
    m_speed->setValue(-100);
    connect(m_speed, &QSlider::valueChanged, this,
            [this](int value) { emit sliderMoved(FrameProtocol::Slider::Speed, -value); });
    top->addWidget(m_speedIcon);
    top->addWidget(m_speedReadout);
    layout->addLayout(top);
    layout->addWidget(m_speed, 1, Qt::AlignHCenter);
    return bar;
}

int ControlBars::VolumePosition() const
{
    return m_volume->value();
}

void ControlBars::MovePositionSlider(int position)
{
    m_movingPosition = true;
    m_position->setValue(position);
    m_movingPosition = false;
}

void ControlBars::SetPositionRange(int maximum)
{
    m_movingPosition = true;
    m_position->setRange(0, maximum);
    m_movingPosition = false;
}

void ControlBars::EnablePositionSlider(bool enable)
{
    m_position->setEnabled(enable);
}

void ControlBars::ShowFirstSlot(FirstSlot shown)
{
    m_firstSlot = shown;
    const Command command = shown == FirstSlot::Pause ? Command::Pause : Command::PlayPause;
    m_firstButton->setIcon(
        StandardIcon(shown == FirstSlot::Pause ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_firstButton->setEnabled(shown != FirstSlot::GreyedPlay);
    SetCommandTips(m_firstButton, command);
}

void ControlBars::ShowSecondSlot(SecondSlot shown)
{
    m_secondButton->setEnabled(shown == SecondSlot::Stop);
}

void ControlBars::DrawTime(int position)
{
    m_time->Show(position);
}

void ControlBars::MoveBalanceSlider(int balance)
{
    m_balance->setValue(balance);
}

void ControlBars::MoveVolumeSlider(int volume)
{
    m_volume->setValue(volume);
}

void ControlBars::MoveSpeedSlider(int speed)
{
    m_speed->setValue(-speed);
}

void ControlBars::ShowSpeedReadout(const QString& text)
{
    m_speedReadout->setText(text);
}

void ControlBars::ShowSpeedIcon(SpeedIcon icon)
{
    switch (icon) {
    case SpeedIcon::Normal:
        m_speedIcon->setIcon(StandardIcon(QStyle::SP_MediaPlay));
        break;
    case SpeedIcon::Faster:
        m_speedIcon->setIcon(StandardIcon(QStyle::SP_MediaSeekForward));
        break;
    case SpeedIcon::Slower:
        m_speedIcon->setIcon(SlowerSpeedIcon());
        break;
    case SpeedIcon::Refused:
        m_speedIcon->setIcon(StandardIcon(QStyle::SP_DialogCancelButton));
        break;
    }
}

void ControlBars::EnableSoundSliders(bool enable)
{
    m_balance->setEnabled(enable);
    m_volume->setEnabled(enable);
}

}  // namespace kivo
