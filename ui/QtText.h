#pragma once

#include <QString>
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

}  // namespace chokusho
