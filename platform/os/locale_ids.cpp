#include "platform/os/locale_ids.h"

#include "platform/runtime/locale_info.h"

namespace os {

namespace {

std::optional<QLocale>& userOverride()
{
    static std::optional<QLocale> locale;
    return locale;
}

QLocale userLocale()
{
    return userOverride().value_or(QLocale());
}

std::optional<QLocale> localeOf(uint32_t lcid)
{
    const uint32_t language = lcid & 0xFFFFu;
    const uint32_t territoryPlusOne = lcid >> 16;
    if (territoryPlusOne == 0 || language > QLocale::LastLanguage ||
        territoryPlusOne - 1 > QLocale::LastTerritory)
        return std::nullopt;
    return QLocale(static_cast<QLocale::Language>(language),
                   static_cast<QLocale::Territory>(territoryPlusOne - 1));
}

} // namespace

uint32_t lcidOf(const QLocale& locale)
{
    return ((static_cast<uint32_t>(locale.territory()) + 1u) << 16) |
           static_cast<uint32_t>(locale.language());
}

uint32_t userDefaultLcid()
{
    return lcidOf(userLocale());
}

uint32_t systemDefaultLcid()
{
    return lcidOf(QLocale::system());
}

QString localeInfo(uint32_t lcid, int type)
{
    const bool isUser = lcid == userDefaultLcid();
    std::optional<QLocale> locale = isUser ? std::optional<QLocale>(userLocale()) : localeOf(lcid);
    if (!locale)
        return QString();
    switch (type) {
    case kLocaleDecimalSeparator:
        return isUser ? QString(rt::numberLocale().decimalSeparator) : locale->decimalPoint();
    case kLocaleNegativeSign:
        return isUser ? rt::numberLocale().negativeSign : locale->negativeSign();
    case kLocaleEnglishLanguageName:
        return locale->language() == QLocale::AnyLanguage ? QString()
                                                          : QLocale::languageToString(locale->language());
    case kLocaleEnglishCountryName:
        return locale->territory() == QLocale::AnyTerritory ? QString()
                                                            : QLocale::territoryToString(locale->territory());
    default:
        return QString();
    }
}

void setUserLocale(std::optional<QLocale> locale)
{
    userOverride() = std::move(locale);
}

} // namespace os
