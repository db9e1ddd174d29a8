// SPDX-License-Identifier: GPL-3.0-or-later
#include "LegacyLocaleNumbers.h"

#include <QLocale>
#include <iterator>

namespace {

// Index = old language number, value = ISO 639 code ("" = no Qt 6 language).
const char* const kLanguageCodes[] = {
    "",   "",   "ab", "om", "aa", "af", "sq", "am",  "ar", "hy", "as", "ay", "az", "ba", "eu", "bn", "dz", "",
    "bi", "br", "bg", "my", "be", "km", "ca", "zh",  "co", "hr", "cs", "da", "nl", "en", "eo", "et", "fo", "fj",
    "fi", "fr", "fy", "gd", "gl", "ka", "de", "el",  "kl", "gn", "gu", "ha", "he", "hi", "hu", "is", "id", "ia",
    "ie", "iu", "ik", "ga", "it", "ja", "jv", "kn",  "ks", "kk", "rw", "ky", "ko", "ku", "rn", "lo", "la", "lv",
    "ln", "lt", "mk", "mg", "ms", "ml", "mt", "mi",  "mr", "ro", "mn", "na", "ne", "nb", "oc", "or", "ps", "fa",
    "pl", "pt", "pa", "qu", "rm", "ro", "ru", "sm",  "sg", "sa", "sr", "sr", "st", "tn", "sn", "sd", "si", "ss",
    "sk", "sl", "so", "es", "su", "sw", "sv", "fil", "tg", "ta", "tt", "te", "th", "bo", "ti", "to", "ts", "tr",
    "tk", "ak", "ug", "uk", "ur", "uz", "vi", "vo",  "cy", "wo", "xh", "yi", "yo", "za", "zu",
};

// Index = old country number, value = ISO 3166 code ("" = no Qt 6 territory).
const char* const kCountryCodes[] = {
    "",   "AF", "AL", "DZ", "AS", "AD", "AO", "AI", "AQ", "AG", "AR", "AM", "AW", "AU", "AT", "AZ", "BS", "BH", "BD",
    "BB", "BY", "BE", "BZ", "BJ", "BM", "BT", "BO", "BA", "BW", "BV", "BR", "IO", "BN", "BG", "BF", "BI", "KH", "CM",
    "CA", "CV", "KY", "CF", "TD", "CL", "CN", "CX", "CC", "CO", "KM", "CD", "CG", "CK", "CR", "CI", "HR", "CU", "CY",
    "CZ", "DK", "DJ", "DM", "DO", "TL", "EC", "EG", "SV", "GQ", "ER", "EE", "ET", "FK", "FO", "FJ", "FI", "FR", "FR",
    "GF", "PF", "TF", "GA", "GM", "GE", "DE", "GH", "GI", "GR", "GL", "GD", "GP", "GU", "GT", "GN", "GW", "GY", "HT",
    "HM", "HN", "HK", "HU", "IS", "IN", "ID", "IR", "IQ", "IE", "IL", "IT", "JM", "JP", "JO", "KZ", "KE", "KI", "KP",
    "KR", "KW", "KG", "LA", "LV", "LB", "LS", "LR", "LY", "LI", "LT", "LU", "MO", "MK", "MG", "MW", "MY", "MV", "ML",
    "MT", "MH", "MQ", "MR", "MU", "YT", "MX", "FM", "MD", "MC", "MN", "MS", "MA", "MZ", "MM", "NA", "NR", "NP", "NL",
    "",   "NC", "NZ", "NI", "NE", "NG", "NU", "NF", "MP", "NO", "OM", "PK", "PW", "PS", "PA", "PG", "PY", "PE", "PH",
    "PN", "PL", "PT", "PR", "QA", "RE", "RO", "RU", "RW", "KN", "LC", "VC", "WS", "SM", "ST", "SA", "SN", "SC", "SL",
    "SG", "SK", "SI", "SB", "SO", "ZA", "GS", "ES", "LK", "SH", "PM", "SD", "SR", "SJ", "SZ", "SE", "CH", "SY", "TW",
    "TJ", "TZ", "TH", "TG", "TK", "TO", "TT", "TN", "TR", "TM", "TC", "TV", "UG", "UA", "AE", "GB", "US", "UM", "UY",
    "UZ", "VU", "VA", "VE", "VN", "VG", "VI", "WF", "EH", "YE", "",   "ZM", "ZW",
};

template <std::size_t N> QString codeAt(const char* const (&table)[N], int number) {
    if (number < 0 || static_cast<std::size_t>(number) >= N)
        return {};
    return QString::fromLatin1(table[number]);
}

} // namespace

QString LegacyLocaleNumbers::languageName(int legacyNumber) {
    const QString code = codeAt(kLanguageCodes, legacyNumber);
    const QLocale::Language language = code.isEmpty() ? QLocale::AnyLanguage : QLocale::codeToLanguage(code);
    if (language == QLocale::AnyLanguage)
        return QString::number(legacyNumber);
    return QLocale::languageToString(language);
}

QString LegacyLocaleNumbers::countryName(int legacyNumber) {
    const QString code = codeAt(kCountryCodes, legacyNumber);
    const QLocale::Territory territory = code.isEmpty() ? QLocale::AnyTerritory : QLocale::codeToTerritory(code);
    if (territory == QLocale::AnyTerritory)
        return QString::number(legacyNumber);
    return QLocale::territoryToString(territory);
}
