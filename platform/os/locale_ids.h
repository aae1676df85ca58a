#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace os {

// Locale identifiers and locale texts in the classic shape: a locale is a 32-bit number, and a text is
// asked for by its number. Numbers here are ours: ((territory + 1) << 16) | language, with Qt's
// territory and language codes, so they are never 0 or 1 and say which QLocale they stand for.
enum LocaleInfoType : int {
    kLocaleDecimalSeparator = 0x0E,
    kLocaleNegativeSign = 0x51,
    kLocaleEnglishLanguageName = 0x1001,
    kLocaleEnglishCountryName = 0x1002,
};

// The user's locale (QLocale's default) and the system's (QLocale::system()); the same on most
// desktops.
uint32_t userDefaultLcid();
uint32_t systemDefaultLcid();

uint32_t lcidOf(const QLocale& locale);

// The text of `type` for the locale: the user's locale answers the decimal separator and negative sign
// the program uses for numbers (rt::numberLocale(), which tests override); other locales answer what Qt
// knows of them. Empty for an unknown type or number.
QString localeInfo(uint32_t lcid, int type);

// Tests replace the user's locale (its country and language) without changing Qt's default.
void setUserLocale(std::optional<QLocale> locale);

} // namespace os
