#include "cutlist/Formatters.h"

#include "cutlist/ObjectState.h"

#include <QCoreApplication>

#include <ctime>

namespace kivo {
namespace {

// 1234567 -> "1,234,567"
QString GroupThousands(quint64 value)
{
    QString digits = QString::number(value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

// strftime of the local time; empty for a time the C library cannot convert.
QString FormatLocalTime(qint64 secondsSince1970, const char* format, std::tm* local = nullptr)
{
    std::tm parts{};
    const auto seconds = static_cast<std::time_t>(secondsSince1970);
    if (localtime_r(&seconds, &parts) == nullptr)
        return {};
    char text[64];
    const size_t length = std::strftime(text, sizeof text, format, &parts);
    if (local != nullptr)
        *local = parts;
    return QString::fromUtf8(text, static_cast<qsizetype>(length));
}

}  // namespace

QString FormatShortTime(qint64 hundredths)
{
    const qint64 seconds = hundredths / 100;
    const qint64 minutes = seconds / 60;
    return QString::asprintf("%lldm%02llds", static_cast<long long>(minutes),
                             static_cast<long long>(seconds - 60 * minutes));
}

QString FormatLongTime(qint64 hundredths)
{
    const auto minutes = static_cast<long long>(hundredths / 6000);
    const auto seconds = static_cast<long long>((hundredths / 100) % 60);
    const auto rest = static_cast<long long>(hundredths % 100);
    const QChar zero = QLatin1Char('0');
    if (minutes != 0)
        return QCoreApplication::translate("Formatters", "%1分 %2秒 %3")
            .arg(minutes)
            .arg(seconds, 2, 10, zero)
            .arg(rest, 2, 10, zero);
    return QCoreApplication::translate("Formatters", "%1秒 %2").arg(seconds).arg(rest, 2, 10, zero);
}

QString FormatSize(quint64 bytes, bool withByteCount)
{
    const quint64 kilobytes = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
    QString text = GroupThousands(kilobytes) + QStringLiteral("KB");
    if (withByteCount)
        text += QCoreApplication::translate("Formatters", " (%1 ﾊﾞｲﾄ)").arg(GroupThousands(bytes));
    return text;
}

QString FormatDate(qint64 secondsSince1970)
{
    static const char* const weekdays[] = {
        QT_TRANSLATE_NOOP("Formatters", "日曜日"), QT_TRANSLATE_NOOP("Formatters", "月曜日"),
        QT_TRANSLATE_NOOP("Formatters", "火曜日"), QT_TRANSLATE_NOOP("Formatters", "水曜日"),
        QT_TRANSLATE_NOOP("Formatters", "木曜日"), QT_TRANSLATE_NOOP("Formatters", "金曜日"),
        QT_TRANSLATE_NOOP("Formatters", "土曜日"),
    };
    std::tm local{};
    const QString time = FormatLocalTime(secondsSince1970, "%H:%M:%S", &local);
    if (time.isEmpty())
        return {};
    const QChar zero = QLatin1Char('0');
    // Year, month, day, weekday and time.
    return QCoreApplication::translate("Formatters", "%1年 %2月 %3日 %4 %5")
        .arg(local.tm_year + 1900)
        .arg(local.tm_mon + 1, 2, 10, zero)
        .arg(local.tm_mday, 2, 10, zero)
        .arg(QCoreApplication::translate("Formatters", weekdays[local.tm_wday % 7]), time);
}

QString FormatShortDate(qint64 secondsSince1970)
{
    return FormatLocalTime(secondsSince1970, "%y/%m/%d %H:%M");
}

QString FormatTypeText(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString extension = dot < 0 ? QString() : name.mid(dot).toUpper();
    extension += QLatin1Char(' ');
    return QCoreApplication::translate("Formatters", "%1ﾌｧｲﾙ").arg(extension.mid(1));
}

ObjectFacts FactsOf(const MEDIARECORD& record)
{
    return {record.dwSize, record.timeModified, record.nLength, record.nFlag == kFlagInvalid};
}

QString ObjectColumnText(const QString& path, const ObjectFacts& facts, int column)
{
    if (facts.modified == 0)
        return {};
    switch (column) {
    case 1:
        return facts.invalid ? QString() : FormatShortTime(facts.length);
    case 3:
        return FormatSize(facts.size, false);
    case 4:
        return FormatTypeText(path);
    case 5:
        return FormatShortDate(facts.modified);
    default:
        return {};
    }
}

bool HasDate(const ObjectFacts& facts)
{
    // The C library converts every time of a file system; only times
    // billions of years away may fail, and they show no date.
    constexpr qint64 kCertainlyConvertible = qint64{1} << 40;
    if (facts.modified == 0)
        return false;
    return (facts.modified > -kCertainlyConvertible && facts.modified < kCertainlyConvertible) ||
           !FormatShortDate(facts.modified).isEmpty();
}

}  // namespace kivo
