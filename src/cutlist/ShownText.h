#pragma once

#include <QString>

namespace kivo {

// Texts that come from outside the program (names and titles in files, the
// paths of files, messages that hold them) can be megabytes long, and a
// widget lays out all it is given, however little it can show: such a text
// is cut before it reaches one. Lengths are in UTF-16 units, and a cut never
// falls between the halves of a pair.

// The longest name or title an object keeps: a longer one read from a file
// is cut there.
constexpr qsizetype kMaxNameChars = 1024;
// The longest text a widget is given: room for a name or a path of
// kMaxNameChars and the words around it.
constexpr qsizetype kMaxShownChars = 2 * kMaxNameChars;

// A name as an object keeps it: cut to kMaxNameChars, without a mark.
QString BoundedName(QString name);

// A text as a widget is given it: one longer than `limit` is cut at its end,
// where "…" marks the cut.
QString ShownText(const QString& text, qsizetype limit = kMaxShownChars);

// A path as a widget is given it: one longer than `limit` loses the middle,
// marked by "…", and keeps its start and its end, the file's own name.
QString ShownPath(const QString& path, qsizetype limit = kMaxNameChars);

// The file's own name in a path (all of a name without a folder), as
// ShownPath gives it.
QString ShownFileName(const QString& path);

// An object's name as a widget is given it: a path as ShownPath gives it,
// any other name as ShownText does.
QString ShownName(const QString& name);

}  // namespace kivo
