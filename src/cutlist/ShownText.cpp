#include "cutlist/ShownText.h"

#include "cutlist/FileNames.h"

#include <algorithm>

namespace kivo {
namespace {

constexpr QChar kCutMark = u'…';

// The place nearest `at`, not after it, that is not between the halves of a
// pair.
qsizetype CharacterStartAtOrBefore(const QString& text, qsizetype at)
{
    return at > 0 && at < text.size() && text[at].isLowSurrogate() && text[at - 1].isHighSurrogate() ? at - 1 : at;
}

}  // namespace

QString BoundedName(QString name)
{
    if (name.size() > kMaxNameChars)
        name.truncate(CharacterStartAtOrBefore(name, kMaxNameChars));
    return name;
}

QString ShownText(const QString& text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    return text.left(CharacterStartAtOrBefore(text, limit - 1)) + kCutMark;
}

QString ShownPath(const QString& path, qsizetype limit)
{
    if (path.size() <= limit)
        return path;
    // The end keeps at least half the room, more for a longer file name.
    const qsizetype fileName = path.size() - path.lastIndexOf(u'/');
    const qsizetype endRoom = std::clamp(fileName, limit / 2, limit - 1);
    // Rounding the end's start up keeps it within its room.
    qsizetype endStart = path.size() - endRoom;
    if (path[endStart].isLowSurrogate() && path[endStart - 1].isHighSurrogate())
        ++endStart;
    const qsizetype startRoom = limit - 1 - (path.size() - endStart);
    return path.left(CharacterStartAtOrBefore(path, startRoom)) + kCutMark + path.mid(endStart);
}

QString ShownFileName(const QString& path)
{
    return ShownPath(path.sliced(path.lastIndexOf(u'/') + 1));
}

QString ShownName(const QString& name)
{
    return IsPathName(name) ? ShownPath(name) : ShownText(name);
}

}  // namespace kivo
