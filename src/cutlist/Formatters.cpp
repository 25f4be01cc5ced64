#include "cutlist/Formatters.h"

#include "cutlist/ObjectState.h"

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
    if (minutes != 0)
        return QString::asprintf("%lld分 %02lld秒 %02lld", minutes, seconds, rest);
    return QString::asprintf("%lld秒 %02lld", seconds, rest);
}

QString FormatSize(quint64 bytes, bool withByteCount)
{
    const quint64 kilobytes = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
    QString text = GroupThousands(kilobytes) + QStringLiteral("KB");
    if (withByteCount)
        text += QStringLiteral(" (") + GroupThousands(bytes) + QStringLiteral(" ﾊﾞｲﾄ)");
    return text;
}

QString FormatDate(qint64 secondsSince1970)
{
    static const char16_t weekdays[] = u"日月火水木金土";
    std::tm local{};
    const QString date = FormatLocalTime(secondsSince1970, "%Y年 %m月 %d日 ", &local);
    if (date.isEmpty())
        return {};
    return date + QChar(weekdays[local.tm_wday % 7]) + QStringLiteral("曜日") +
           FormatLocalTime(secondsSince1970, " %H:%M:%S");
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
    return extension.mid(1) + QStringLiteral("ﾌｧｲﾙ");
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
