#include "board/sound.h"
#include "board/zel_locale_info.h"

#include "platform/os/os_test_doubles.h"
#include "platform/runtime/locale_info.h"

#include <gtest/gtest.h>

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kUnitedStates(QLocale::English, QLocale::UnitedStates);

TEST(LocaleInfo, UserDefaultIsCurrentAfterCreation)
{
    zelLocaleInfo info(kGerman, kUnitedStates);
    EXPECT_EQ(info.LCID(), 0x0409);
    EXPECT_EQ(info.UserDefLCID(), 0x0409);
    EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::EnglishCountryName), "United States");
}

TEST(LocaleInfo, SettingOneSelectsUserDefaultAnythingElseTheSystemDefault)
{
    zelLocaleInfo info(kGerman, kUnitedStates);
    info.setLCID(0x0409); // the user default's own number is not 1
    EXPECT_EQ(info.LCID(), 0x0407);
    EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::EnglishCountryName), "Germany");
    EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::DecimalSeparator), ",");
    info.setLCID(1);
    EXPECT_EQ(info.LCID(), 0x0409);
    info.SystemDefLCID();
    EXPECT_EQ(info.LCID(), 0x0407);
    EXPECT_EQ(info.UserDefLCID(), 0x0409);
}

TEST(LocaleInfo, UserNumbersFollowTheProgramsNumberLocale)
{
    zelLocaleInfo info(kGerman, kUnitedStates);
    {
        rt::ScopedNumberLocale comma(QLatin1Char(','), QStringLiteral("-"));
        EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::DecimalSeparator), ",");
        EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::NegativeSign), "-");
    }
    rt::ScopedNumberLocale dot(QLatin1Char('.'), QString(QChar(0x2212)));
    EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::DecimalSeparator), ".");
    EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::NegativeSign), QString(QChar(0x2212)));
}

TEST(LocaleInfo, OtherTypesAndUnknownOnes)
{
    zelLocaleInfo info(kGerman, kUnitedStates);
    EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::LanguageId), "0409");
    EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::IsoLanguageName), "en");
    EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::IsoCountryName), "US");
    EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::EnglishLanguageName), "English");
    EXPECT_EQ(info.GetLocaleInfo(0x7777), "");
    EXPECT_EQ(zelLocaleInfo::lcidOf(QLocale(QLocale::Swahili, QLocale::Kenya)), 0x0C00);
    EXPECT_EQ(zelLocaleInfo::lcidOf(QLocale(QLocale::French, QLocale::Canada)), 0x0C0C);
}

TEST(Sound, DeviceFlagAndSoundsWithOrWithoutADevice)
{
    os::testing::RecordingSoundService& sounds = os::testing::soundRecorder();
    sounds.soundDevice = false;
    EXPECT_FALSE(InitSound());
    EXPECT_FALSE(gbSoundCard);
    PlaySoundAsync("SystemQuestion"); // played all the same
    sounds.soundDevice = true;
    EXPECT_TRUE(InitSound());
    EXPECT_TRUE(gbSoundCard);
    EXPECT_EQ(sounds.played, QStringList({"SystemQuestion"}));
}

} // namespace

TEST(LocaleInfo, CountryNameIsNeverQtsDefault)
{
    struct Case {
        QLocale locale;
        const char* english;
    } cases[] = {
        {QLocale::c(), "United States"},                         // a desktop without a language setting
        {QLocale(QLocale::French), "France"},                    // a language alone: its usual country
        {QLocale(QLocale::German, QLocale::Austria), "Austria"}, // the locale's own country
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        zelLocaleInfo info(kGerman, c.locale);
        EXPECT_EQ(info.GetLocaleInfo(zelLocaleInfo::EnglishCountryName), QString::fromLatin1(c.english));
        EXPECT_NE(info.GetLocaleInfo(zelLocaleInfo::CountryName), QStringLiteral("Default"));
        EXPECT_FALSE(info.GetLocaleInfo(zelLocaleInfo::CountryName).isEmpty());
    }
}
