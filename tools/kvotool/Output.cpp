#include "Commands.h"

#include "cutlist/FileNames.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <iostream>

namespace kivo::tool {

std::string Printable(const QString& name)
{
    return PrintableFileName(name).toStdString();
}

void PrintJson(const QJsonValue& json)
{
    const QJsonDocument document = json.isArray() ? QJsonDocument(json.toArray()) : QJsonDocument(json.toObject());
    std::cout << document.toJson(QJsonDocument::Compact).toStdString() << "\n";
}

}  // namespace kivo::tool
