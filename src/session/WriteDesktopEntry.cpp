// Writes the desktop entry with the MIME types of every kind of media file
// the program opens added to those of its documents: one table of kinds
// gives the open dialog's rows, the media search's boxes, the remote
// control's types and this entry's.
//
// Usage: write_desktop_entry IN OUT

#include "cutlist/AddingMedia.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: write_desktop_entry IN OUT\n", stderr);
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "write_desktop_entry: cannot read %s\n", argv[1]);
        return 1;
    }
    const QStringList media = kivo::MediaMimeTypes();
    if (media.isEmpty()) {
        // No MIME database: an entry without the media types would register
        // the program for its documents only, silently.
        std::fputs("write_desktop_entry: the system's MIME database names no media type\n", stderr);
        return 1;
    }
    QStringList lines = QString::fromUtf8(in.readAll()).split(u'\n');
    for (QString& line : lines) {
        if (!line.startsWith(QStringLiteral("MimeType=")))
            continue;
        for (const QString& type : media)
            if (!line.split(u';').contains(type))
                line += type + u';';
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) ||
        out.write(lines.join(u'\n').toUtf8()) < 0 || !out.flush()) {
        std::fprintf(stderr, "write_desktop_entry: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
