#pragma once

// Files under names that are not UTF-8, which Qt's QDir neither lists nor
// removes.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kivo::test {

// A temporary folder that is removed through its bytes, with everything in it.
class ByteFolder {
public:
    ~ByteFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(Path("").toStdString(), error);
    }

    QString path() const { return m_folder.path(); }
    // The bytes of `name` in the folder.
    QByteArray Path(const QByteArray& name) const { return QFile::encodeName(m_folder.path()) + '/' + name; }

    // Writes a file under a byte name.
    QByteArray Write(const QByteArray& name, const QByteArray& contents) const
    {
        const QByteArray path = Path(name);
        std::ofstream(path.toStdString(), std::ios::binary).write(contents.constData(), contents.size());
        return path;
    }
    QByteArray Copy(const QString& from, const QByteArray& name) const
    {
        const QByteArray path = Path(name);
        std::filesystem::copy_file(QFile::encodeName(from).toStdString(), path.toStdString());
        return path;
    }

    // The names in the folder as bytes, in no particular order.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Path("").toStdString()))
            names.push_back(entry.path().filename().native());
        return names;
    }

private:
    QTemporaryDir m_folder;
};

}  // namespace kivo::test
