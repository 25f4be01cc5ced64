#include "session/LoadingPace.h"

#include <QCoreApplication>

#include <cmath>

namespace kivo {

void LoadingPace::Start(int total, qint64 milliseconds)
{
    m_total = total;
    m_done = 0;
    m_start = milliseconds;
    m_elapsed = 0;
}

void LoadingPace::Update(int done, qint64 milliseconds)
{
    m_done = done;
    m_elapsed = milliseconds - m_start;
}

QString LoadingPace::Text() const
{
    if (m_done < 2 || m_elapsed < 500)
        return {};
    const double rate = m_done * 1000.0 / static_cast<double>(m_elapsed);
    const auto left = static_cast<qint64>(std::ceil((m_total - m_done) / rate));
    const QString minutes = QStringLiteral("%1:%2").arg(left / 60 % 60).arg(left % 60, 2, 10, QLatin1Char('0'));
    return QCoreApplication::translate("LoadingPace", "%1 ファイル/秒　残り %2")
        .arg(rate, 0, 'f', 1)
        .arg(left >= 3600 ? QStringLiteral("%1:%2").arg(left / 3600).arg(minutes.rightJustified(5, QLatin1Char('0')))
                          : minutes);
}

}  // namespace kivo
