#include "board/zel_locale_info.h"

#include "platform/runtime/locale_info.h"

#include <QHash>

namespace {

constexpr int32_t kCustomLocale = 0x0C00;

const QHash<QString, int32_t>& classicIdentifiers()
{
    static const QHash<QString, int32_t> table = {
        {"C", 0x0409},     {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009},
        {"en_NZ", 0x1409}, {"en_IE", 0x1809}, {"en_ZA", 0x1C09}, {"en_IN", 0x4009}, {"de_DE", 0x0407},
        {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"de_LU", 0x1007}, {"fr_FR", 0x040C}, {"fr_BE", 0x080C},
        {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"it_IT", 0x0410}, {"it_CH", 0x0810}, {"es_ES", 0x0C0A},
        {"es_MX", 0x080A}, {"es_AR", 0x2C0A}, {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"nl_NL", 0x0413},
        {"nl_BE", 0x0813}, {"sv_SE", 0x041D}, {"da_DK", 0x0406}, {"nb_NO", 0x0414}, {"fi_FI", 0x040B},
        {"is_IS", 0x040F}, {"pl_PL", 0x0415}, {"cs_CZ", 0x0405}, {"sk_SK", 0x041B}, {"hu_HU", 0x040E},
        {"ro_RO", 0x0418}, {"bg_BG", 0x0402}, {"el_GR", 0x0408}, {"tr_TR", 0x041F}, {"ru_RU", 0x0419},
        {"uk_UA", 0x0422}, {"hr_HR", 0x041A}, {"sl_SI", 0x0424}, {"lt_LT", 0x0427}, {"lv_LV", 0x0426},
        {"et_EE", 0x0425}, {"ja_JP", 0x0411}, {"ko_KR", 0x0412}, {"zh_CN", 0x0804}, {"zh_TW", 0x0404},
        {"zh_HK", 0x0C04}, {"zh_SG", 0x1004}, {"he_IL", 0x040D}, {"ar_SA", 0x0401}, {"hi_IN", 0x0439},
        {"th_TH", 0x041E}, {"vi_VN", 0x042A}, {"id_ID", 0x0421}, {"ms_MY", 0x043E},
    };
    return table;
}

// The locale's country. A locale without one names the country its language is mostly used in, and the
// bare "C" locale of a desktop without a language setting follows the conventions of US English (it stands
// for 0x0409 above): never Qt's "Default".
QLocale::Territory territoryOf(const QLocale& locale)
{
    if (locale.territory() != QLocale::AnyTerritory)
        return locale.territory();
    const QLocale::Territory usual = QLocale(locale.language()).territory();
    return usual != QLocale::AnyTerritory ? usual : QLocale::UnitedStates;
}

} // namespace

zelLocaleInfo::zelLocaleInfo() : zelLocaleInfo(QLocale::system(), QLocale())
{
}

zelLocaleInfo::zelLocaleInfo(const QLocale& systemDefault, const QLocale& userDefault)
    : systemLocale_(systemDefault), userLocale_(userDefault), systemDefault_(lcidOf(systemDefault)),
      userDefault_(lcidOf(userDefault)), current_(userDefault_)
{
}

int32_t zelLocaleInfo::lcidOf(const QLocale& locale)
{
    return classicIdentifiers().value(locale.name(), kCustomLocale);
}

void zelLocaleInfo::setLCID(int32_t value)
{
    currentIsUser_ = value == 1;
    current_ = currentIsUser_ ? userDefault_ : systemDefault_;
}

void zelLocaleInfo::SystemDefLCID()
{
    currentIsUser_ = false;
    current_ = systemDefault_;
}

QString zelLocaleInfo::GetLocaleInfo(int32_t infoType) const
{
    const QLocale& locale = currentIsUser_ ? userLocale_ : systemLocale_;
    const rt::NumberLocale& numbers = rt::numberLocale();
    switch (infoType) {
    case LanguageId:
        return QStringLiteral("%1").arg(current_ & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
    case LanguageName:
        return locale.nativeLanguageName();
    case CountryName:
        return locale.territory() == QLocale::AnyTerritory ? QLocale::territoryToString(territoryOf(locale))
                                                           : locale.nativeTerritoryName();
    case DecimalSeparator:
        return currentIsUser_ ? QString(numbers.decimalSeparator) : locale.decimalPoint();
    case GroupSeparator:
        if (currentIsUser_ && !numbers.groupSeparator.isNull())
            return QString(numbers.groupSeparator);
        return locale.groupSeparator();
    case CurrencySymbol:
        return locale.currencySymbol();
    case PositiveSign:
        return locale.positiveSign();
    case NegativeSign:
        return currentIsUser_ ? numbers.negativeSign : locale.negativeSign();
    case IsoLanguageName:
        return locale.name().section(QLatin1Char('_'), 0, 0);
    case IsoCountryName:
        return locale.name().section(QLatin1Char('_'), 1, 1);
    case EnglishLanguageName:
        return QLocale::languageToString(locale.language());
    case EnglishCountryName:
        return QLocale::territoryToString(territoryOf(locale));
    default:
        return QString();
    }
}
