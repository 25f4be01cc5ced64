#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>
#include <string>

namespace kivo {

// Scenario files and sort keys use the Japanese Windows code page (CP932,
// Shift-JIS), converted through the C library's iconv.

// The CP932 bytes of `text`, or nothing when some character has no CP932
// form that reads back as the same character.
std::optional<QByteArray> EncodeCp932(const QString& text);

// The text of CP932 bytes; bytes that are not valid CP932 become U+FFFD.
QString DecodeCp932(QByteArrayView bytes);

// Appends the bytes a text is compared by: its CP932 bytes, where a
// character CP932 lacks contributes its UTF-8 bytes instead.
void AppendCp932SortBytes(QStringView text, std::string& out);

}  // namespace kivo
