#pragma once

// zelLocaleInfo: locale identifiers (the classic 32-bit numbers, 0x0409 for English - United States) and
// locale strings by information type. The system default is the desktop's locale, the user default the
// program's locale (the desktop's unless the program chose another); the user default is current after
// creation. The user default's numbers follow the program's number locale, so what start-up reads here
// matches what every conversion uses.

#include <QLocale>
#include <QString>
#include <cstdint>

class zelLocaleInfo {
public:
    // Information types understood by GetLocaleInfo.
    enum InfoType : int32_t {
        LanguageId = 0x0001,   // "0409"
        LanguageName = 0x0002, // in the locale's own language
        CountryName = 0x0006,  // in the locale's own language
        DecimalSeparator = 0x000E,
        GroupSeparator = 0x000F,
        CurrencySymbol = 0x0014,
        PositiveSign = 0x0050,
        NegativeSign = 0x0051,
        IsoLanguageName = 0x0059,     // "en"
        IsoCountryName = 0x005A,      // "US"
        EnglishLanguageName = 0x1001, // "English"
        EnglishCountryName = 0x1002,  // "United States"
    };

    zelLocaleInfo();
    // With chosen system and user locales (tests).
    zelLocaleInfo(const QLocale& systemDefault, const QLocale& userDefault);

    // 1 makes the user default current; any other value the system default.
    void setLCID(int32_t value);
    int32_t LCID() const { return current_; }
    int32_t UserDefLCID() const { return userDefault_; }
    // Makes the system default current.
    void SystemDefLCID();
    // The current locale's text of that type; empty for a type it does not know.
    QString GetLocaleInfo(int32_t infoType) const;

    // The classic identifier of a locale; 0x0C00 (custom) for one without a classic number.
    static int32_t lcidOf(const QLocale& locale);

private:
    QLocale systemLocale_;
    QLocale userLocale_;
    int32_t systemDefault_ = 0;
    int32_t userDefault_ = 0;
    int32_t current_ = 0;
    bool currentIsUser_ = true;
};
