#pragma once

#include <QChar>
#include <QLocale>
#include <optional>

namespace platform {

// The decimal character of the user's locale, read the way a user sees it:
// 3.14 written with two decimals, second character.
QChar GetDecimalSeparator();
// ';' when the decimal character is ',', else ','.
QChar GetListSeparator();

// Tests replace the system locale with a chosen one; std::nullopt restores it.
void SetLocaleOverride(std::optional<QLocale> locale);

} // namespace platform
