#include "cutlist/ObjectState.h"

#include <array>

namespace kivo {
namespace {

const std::array<QString, 5>& StateTexts()
{
    static const std::array<QString, 5> texts = {
        QStringLiteral("無効"), QStringLiteral("待機"), QStringLiteral("再生"),
        QStringLiteral("一時停止"), QStringLiteral("停止"),
    };
    return texts;
}

}  // namespace

QString StateText(ObjectState state)
{
    return StateTexts().at(static_cast<size_t>(state));
}

}  // namespace kivo
