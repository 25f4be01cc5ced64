#include "cutlist/ObjectState.h"

#include <QCoreApplication>

#include <array>

namespace kivo {
namespace {

constexpr std::array<const char*, 5> kStateTexts = {
    QT_TRANSLATE_NOOP("ObjectState", "無効"), QT_TRANSLATE_NOOP("ObjectState", "待機"),
    QT_TRANSLATE_NOOP("ObjectState", "再生"), QT_TRANSLATE_NOOP("ObjectState", "一時停止"),
    QT_TRANSLATE_NOOP("ObjectState", "停止"),
};

}  // namespace

QString StateText(ObjectState state)
{
    return QCoreApplication::translate("ObjectState", kStateTexts.at(static_cast<size_t>(state)));
}

}  // namespace kivo
