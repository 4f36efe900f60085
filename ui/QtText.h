#pragma once

#include <QFontDatabase>
#include <QString>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace chokusho {

/** The libraries' UTF-8 text as a QString. */
inline QString Utf8(const char* text) { return QString::fromUtf8(text); }

inline QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/** A QString as the libraries' UTF-8 text. */
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

/** The first of `families` (UTF-8 names) that the system has; nullopt when it has none. */
inline std::optional<QString> FirstInstalledFamily(std::initializer_list<const char*> families)
{
    const QStringList installed = QFontDatabase::families();
    for (const char* family : families) {
        if (installed.contains(Utf8(family)))
            return Utf8(family);
    }
    return std::nullopt;
}

}  // namespace chokusho
