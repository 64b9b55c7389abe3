#include "Glossmill_LocaleConst.h"

#include "Glossmill_Misc.h"

#include <QHash>
#include <QLocale>
#include <QStringList>
#include <vector>

namespace {

// Every row's qualifier in row order; the rows' fields follow from it and the name tables below.
const char *const Qualifiers[] = {
    "af", "af-rNA", "af-rZA", "agq", "agq-rCM", "ak", "ak-rGH", "am", "am-rET", "ar", "ar-r001", "ar-rAE", "ar-rBH",
    "ar-rDJ", "ar-rDZ", "ar-rEG", "ar-rEH", "ar-rER", "ar-rIL", "ar-rIQ", "ar-rJO", "ar-rKM", "ar-rKW", "ar-rLB",
    "ar-rLY", "ar-rMA", "ar-rMR", "ar-rOM", "ar-rPS", "ar-rQA", "ar-rSA", "ar-rSD", "ar-rSO", "ar-rSS", "ar-rSY",
    "ar-rTD", "ar-rTN", "ar-rYE", "as", "as-rIN", "asa", "asa-rTZ", "az", "az-r_#Cyrl", "az-rAZ_#Cyrl", "az-r_#Latn",
    "az-rAZ_#Latn", "bas", "bas-rCM", "be", "be-rBY", "bem", "bem-rZM", "bez", "bez-rTZ", "bg", "bg-rBG", "bm",
    "bm-rML", "bn", "bn-rBD", "bn-rIN", "bo", "bo-rCN", "bo-rIN", "br", "br-rFR", "brx", "brx-rIN", "bs",
    "bs-r_#Cyrl", "bs-rBA_#Cyrl", "bs-r_#Latn", "bs-rBA_#Latn", "ca", "ca-rAD", "ca-rES", "ca-rFR", "ca-rIT", "cgg",
    "cgg-rUG", "chr", "chr-rUS", "cs", "cs-rCZ", "cy", "cy-rGB", "da", "da-rDK", "da-rGL", "dav", "dav-rKE", "de",
    "de-rAT", "de-rBE", "de-rCH", "de-rDE", "de-rLI", "de-rLU", "dje", "dje-rNE", "dua", "dua-rCM", "dyo", "dyo-rSN",
    "dz", "dz-rBT", "ebu", "ebu-rKE", "ee", "ee-rGH", "ee-rTG", "el", "el-rCY", "el-rGR", "en", "en-r001", "en-r150",
    "en-rAG", "en-rAI", "en-rAS", "en-rAU", "en-rBB", "en-rBE", "en-rBM", "en-rBS", "en-rBW", "en-rBZ", "en-rCA",
    "en-rCC", "en-rCK", "en-rCM", "en-rCX", "en-rDG", "en-rDM", "en-rER", "en-rFJ", "en-rFK", "en-rFM", "en-rGB",
    "en-rGD", "en-rGG", "en-rGH", "en-rGI", "en-rGM", "en-rGU", "en-rGY", "en-rHK", "en-rIE", "en-rIM", "en-rIN",
    "en-rIO", "en-rJE", "en-rJM", "en-rKE", "en-rKI", "en-rKN", "en-rKY", "en-rLC", "en-rLR", "en-rLS", "en-rMG",
    "en-rMH", "en-rMO", "en-rMP", "en-rMS", "en-rMT", "en-rMU", "en-rMW", "en-rNA", "en-rNF", "en-rNG", "en-rNR",
    "en-rNU", "en-rNZ", "en-rPG", "en-rPH", "en-rPK", "en-rPN", "en-rPR", "en-rPW", "en-rRW", "en-rSB", "en-rSC",
    "en-rSD", "en-rSG", "en-rSH", "en-rSL", "en-rSS", "en-rSX", "en-rSZ", "en-rTC", "en-rTK", "en-rTO", "en-rTT",
    "en-rTV", "en-rTZ", "en-rUG", "en-rUM", "en-rUS", "en-rUS_POSIX", "en-rVC", "en-rVG", "en-rVI", "en-rVU",
    "en-rWS", "en-rZA", "en-rZM", "en-rZW", "eo", "es", "es-r419", "es-rAR", "es-rBO", "es-rCL", "es-rCO", "es-rCR",
    "es-rCU", "es-rDO", "es-rEA", "es-rEC", "es-rES", "es-rGQ", "es-rGT", "es-rHN", "es-rIC", "es-rMX", "es-rNI",
    "es-rPA", "es-rPE", "es-rPH", "es-rPR", "es-rPY", "es-rSV", "es-rUS", "es-rUY", "es-rVE", "et", "et-rEE", "eu",
    "eu-rES", "ewo", "ewo-rCM", "fa", "fa-rAF", "fa-rIR", "ff", "ff-rSN", "fi", "fi-rFI", "fil", "fil-rPH", "fo",
    "fo-rFO", "fr", "fr-rBE", "fr-rBF", "fr-rBI", "fr-rBJ", "fr-rBL", "fr-rCA", "fr-rCD", "fr-rCF", "fr-rCG",
    "fr-rCH", "fr-rCI", "fr-rCM", "fr-rDJ", "fr-rDZ", "fr-rFR", "fr-rGA", "fr-rGF", "fr-rGN", "fr-rGP", "fr-rGQ",
    "fr-rHT", "fr-rKM", "fr-rLU", "fr-rMA", "fr-rMC", "fr-rMF", "fr-rMG", "fr-rML", "fr-rMQ", "fr-rMR", "fr-rMU",
    "fr-rNC", "fr-rNE", "fr-rPF", "fr-rPM", "fr-rRE", "fr-rRW", "fr-rSC", "fr-rSN", "fr-rSY", "fr-rTD", "fr-rTG",
    "fr-rTN", "fr-rVU", "fr-rWF", "fr-rYT", "ga", "ga-rIE", "gl", "gl-rES", "gsw", "gsw-rCH", "gsw-rLI", "gu",
    "gu-rIN", "guz", "guz-rKE", "gv", "gv-rIM", "ha", "ha-r_#Latn", "ha-rGH_#Latn", "ha-rNE_#Latn", "ha-rNG_#Latn",
    "haw", "haw-rUS", "iw", "iw-rIL", "hi", "hi-rIN", "hr", "hr-rBA", "hr-rHR", "hu", "hu-rHU", "hy", "hy-rAM", "in",
    "in-rID", "ig", "ig-rNG", "ii", "ii-rCN", "is", "is-rIS", "it", "it-rCH", "it-rIT", "it-rSM", "ja", "ja-rJP",
    "jgo", "jgo-rCM", "kk-rKZ_#Cyrl", "kkj", "kkj-rCM", "kl", "kl-rGL", "kln", "kln-rKE", "km", "km-rKH", "kn",
    "kn-rIN", "ko", "ko-rKP", "ko-rKR", "kok", "kok-rIN", "ks", "ks-r_#Arab", "ks-rIN_#Arab", "ksb", "ksb-rTZ",
    "ksf", "ksf-rCM", "kw", "kw-rGB", "ky", "ky-r_#Cyrl", "ky-rKG_#Cyrl", "lag", "lag-rTZ", "lg", "lg-rUG", "lkt",
    "lkt-rUS", "ln", "ln-rAO", "ln-rCD", "ln-rCF", "ln-rCG", "lo", "lo-rLA", "lt", "lt-rLT", "lu", "lu-rCD", "luo",
    "luo-rKE", "luy", "luy-rKE", "lv", "lv-rLV", "mas", "mas-rKE", "mas-rTZ", "mer", "mer-rKE", "mfe", "mfe-rMU",
    "mg", "mg-rMG", "mgh", "mgh-rMZ", "mgo", "mgo-rCM", "mk", "mk-rMK", "ml", "ml-rIN", "mn", "mn-r_#Cyrl",
    "mn-rMN_#Cyrl", "mr", "mr-rIN", "ms", "ms-r_#Latn", "ms-rBN_#Latn", "ms-rMY_#Latn", "ms-rSG_#Latn", "mt",
    "mt-rMT", "mua", "mua-rCM", "my", "my-rMM", "naq", "naq-rNA", "nb", "nb-rNO", "nb-rSJ", "nd", "nd-rZW", "ne",
    "ne-rIN", "ne-rNP", "nl", "nl-rAW", "nl-rBE", "nl-rBQ", "nl-rCW", "nl-rNL", "nl-rSR", "nl-rSX", "nmg", "nmg-rCM",
    "nn", "nn-rNO", "nnh", "nnh-rCM", "nus", "nus-rSD", "nyn", "nyn-rUG", "om", "om-rET", "om-rKE", "or", "or-rIN",
    "pa", "pa-r_#Arab", "pa-rPK_#Arab", "pa-r_#Guru", "pa-rIN_#Guru", "pl", "pl-rPL", "ps", "ps-rAF", "pt", "pt-rAO",
    "pt-rBR", "pt-rCV", "pt-rGW", "pt-rMO", "pt-rMZ", "pt-rPT", "pt-rST", "pt-rTL", "rm", "rm-rCH", "rn", "rn-rBI",
    "ro", "ro-rMD", "ro-rRO", "rof", "rof-rTZ", "ru", "ru-rBY", "ru-rKG", "ru-rKZ", "ru-rMD", "ru-rRU", "ru-rUA",
    "rw", "rw-rRW", "rwk", "rwk-rTZ", "saq", "saq-rKE", "sbp", "sbp-rTZ", "seh", "seh-rMZ", "ses", "ses-rML", "sg",
    "sg-rCF", "shi", "shi-r_#Latn", "shi-rMA_#Latn", "shi-r_#Tfng", "shi-rMA_#Tfng", "si", "si-rLK", "sk", "sk-rSK",
    "sl", "sl-rSI", "sn", "sn-rZW", "so", "so-rDJ", "so-rET", "so-rKE", "so-rSO", "sq", "sq-rAL", "sq-rMK", "sq-rXK",
    "sr", "sr-r_#Cyrl", "sr-rBA_#Cyrl", "sr-rME_#Cyrl", "sr-rRS_#Cyrl", "sr-rXK_#Cyrl", "sr-r_#Latn", "sr-rBA_#Latn",
    "sr-rME_#Latn", "sr-rRS_#Latn", "sr-rXK_#Latn", "sv", "sv-rAX", "sv-rFI", "sv-rSE", "sw", "sw-rKE", "sw-rTZ",
    "sw-rUG", "swc", "swc-rCD", "ta", "ta-rIN", "ta-rLK", "ta-rMY", "ta-rSG", "te", "te-rIN", "teo", "teo-rKE",
    "teo-rUG", "th", "th-rTH", "ti", "ti-rER", "ti-rET", "to", "to-rTO", "tr", "tr-rCY", "tr-rTR", "twq", "twq-rNE",
    "tzm", "tzm-r_#Latn", "tzm-rMA_#Latn", "ug", "ug-r_#Arab", "ug-rCN_#Arab", "uk", "uk-rUA", "ur", "ur-rIN",
    "ur-rPK", "uz", "uz-r_#Arab", "uz-rAF_#Arab", "uz-r_#Cyrl", "uz-rUZ_#Cyrl", "uz-r_#Latn", "uz-rUZ_#Latn", "vai",
    "vai-r_#Latn", "vai-rLR_#Latn", "vai-r_#Vaii", "vai-rLR_#Vaii", "vi", "vi-rVN", "vun", "vun-rTZ", "xog",
    "xog-rUG", "yav", "yav-rCM", "yo", "yo-rBJ", "yo-rNG", "zgh", "zgh-rMA", "zh", "zh-r_#Hans", "zh-rCN_#Hans",
    "zh-rHK_#Hans", "zh-rMO_#Hans", "zh-rSG_#Hans", "zh-r_#Hant", "zh-rHK_#Hant", "zh-rMO_#Hant", "zh-rTW_#Hant",
    "zu", "zu-rZA",
};

struct TCodeName
{
    const char *Code;
    const char *Name;
};

const TCodeName LanguageNames[] = {
    {"af", "Afrikaans"},
    {"agq", "Aghem"},
    {"ak", "Akan"},
    {"am", "Amharic"},
    {"ar", "Arabic"},
    {"as", "Assamese"},
    {"asa", "Asu"},
    {"az", "Azerbaijani"},
    {"bas", "Basaa"},
    {"be", "Belarusian"},
    {"bem", "Bemba"},
    {"bez", "Bena"},
    {"bg", "Bulgarian"},
    {"bm", "Bambara"},
    {"bn", "Bengali"},
    {"bo", "Tibetan"},
    {"br", "Breton"},
    {"brx", "Bodo"},
    {"bs", "Bosnian"},
    {"ca", "Catalan"},
    {"cgg", "Chiga"},
    {"chr", "Cherokee"},
    {"cs", "Czech"},
    {"cy", "Welsh"},
    {"da", "Danish"},
    {"dav", "Taita"},
    {"de", "German"},
    {"dje", "Zarma"},
    {"dua", "Duala"},
    {"dyo", "Jola-Fonyi"},
    {"dz", "Dzongkha"},
    {"ebu", "Embu"},
    {"ee", "Ewe"},
    {"el", "Greek"},
    {"en", "English"},
    {"eo", "Esperanto"},
    {"es", "Spanish"},
    {"et", "Estonian"},
    {"eu", "Basque"},
    {"ewo", "Ewondo"},
    {"fa", "Persian"},
    {"ff", "Fulah"},
    {"fi", "Finnish"},
    {"fil", "Filipino"},
    {"fo", "Faroese"},
    {"fr", "French"},
    {"ga", "Irish"},
    {"gl", "Galician"},
    {"gsw", "Swiss German"},
    {"gu", "Gujarati"},
    {"guz", "Gusii"},
    {"gv", "Manx"},
    {"ha", "Hausa"},
    {"haw", "Hawaiian"},
    {"iw", "Hebrew"},
    {"hi", "Hindi"},
    {"hr", "Croatian"},
    {"hu", "Hungarian"},
    {"hy", "Armenian"},
    {"in", "Indonesian"},
    {"ig", "Igbo"},
    {"ii", "Sichuan Yi"},
    {"is", "Icelandic"},
    {"it", "Italian"},
    {"ja", "Japanese"},
    {"jgo", "Ngomba"},
    {"kk", "Kazakh"},
    {"kkj", "Kako"},
    {"kl", "Kalaallisut"},
    {"kln", "Kalenjin"},
    {"km", "Khmer"},
    {"kn", "Kannada"},
    {"ko", "Korean"},
    {"kok", "Konkani"},
    {"ks", "Kashmiri"},
    {"ksb", "Shambala"},
    {"ksf", "Bafia"},
    {"kw", "Cornish"},
    {"ky", "Kyrgyz"},
    {"lag", "Langi"},
    {"lg", "Ganda"},
    {"lkt", "Lakota"},
    {"ln", "Lingala"},
    {"lo", "Lao"},
    {"lt", "Lithuanian"},
    {"lu", "Luba-Katanga"},
    {"luo", "Luo"},
    {"luy", "Luyia"},
    {"lv", "Latvian"},
    {"mas", "Masai"},
    {"mer", "Meru"},
    {"mfe", "Morisyen"},
    {"mg", "Malagasy"},
    {"mgh", "Makhuwa-Meetto"},
    {"mgo", "Meta"},
    {"mk", "Macedonian"},
    {"ml", "Malayalam"},
    {"mn", "Mongolian"},
    {"mr", "Marathi"},
    {"ms", "Malay"},
    {"mt", "Maltese"},
    {"mua", "Mundang"},
    {"my", "Burmese"},
    {"naq", "Nama"},
    {"nb", "Norwegian Bokmål"},
    {"nd", "North Ndebele"},
    {"ne", "Nepali"},
    {"nl", "Dutch"},
    {"nmg", "Kwasio"},
    {"nn", "Norwegian Nynorsk"},
    {"nnh", "Ngiemboon"},
    {"nus", "Nuer"},
    {"nyn", "Nyankole"},
    {"om", "Oromo"},
    {"or", "Oriya"},
    {"pa", "Punjabi"},
    {"pl", "Polish"},
    {"ps", "Pashto"},
    {"pt", "Portuguese"},
    {"rm", "Romansh"},
    {"rn", "Rundi"},
    {"ro", "Romanian"},
    {"rof", "Rombo"},
    {"ru", "Russian"},
    {"rw", "Kinyarwanda"},
    {"rwk", "Rwa"},
    {"saq", "Samburu"},
    {"sbp", "Sangu"},
    {"seh", "Sena"},
    {"ses", "Koyraboro Senni"},
    {"sg", "Sango"},
    {"shi", "Tachelhit"},
    {"si", "Sinhala"},
    {"sk", "Slovak"},
    {"sl", "Slovenian"},
    {"sn", "Shona"},
    {"so", "Somali"},
    {"sq", "Albanian"},
    {"sr", "Serbian"},
    {"sv", "Swedish"},
    {"sw", "Swahili"},
    {"swc", "Congo Swahili"},
    {"ta", "Tamil"},
    {"te", "Telugu"},
    {"teo", "Teso"},
    {"th", "Thai"},
    {"ti", "Tigrinya"},
    {"to", "Tongan"},
    {"tr", "Turkish"},
    {"twq", "Tasawaq"},
    {"tzm", "Central Atlas Tamazight"},
    {"ug", "Uyghur"},
    {"uk", "Ukrainian"},
    {"ur", "Urdu"},
    {"uz", "Uzbek"},
    {"vai", "Vai"},
    {"vi", "Vietnamese"},
    {"vun", "Vunjo"},
    {"xog", "Soga"},
    {"yav", "Yangben"},
    {"yo", "Yoruba"},
    {"zgh", "Standard Moroccan Tamazight"},
    {"zh", "Chinese"},
    {"zu", "Zulu"},
};

const TCodeName ScriptNames[] = {
    {"Arab", "Arabic"},
    {"Cyrl", "Cyrillic"},
    {"Guru", "Gurmukhi"},
    {"Hans", "Simplified Han"},
    {"Hant", "Traditional Han"},
    {"Latn", "Latin"},
    {"Tfng", "Tifinagh"},
    {"Vaii", "Vai"},
};

const TCodeName RegionNames[] = {
    {"001", "World"},
    {"150", "Europe"},
    {"419", "Latin America"},
    {"AD", "Andorra"},
    {"AE", "United Arab Emirates"},
    {"AF", "Afghanistan"},
    {"AG", "Antigua and Barbuda"},
    {"AI", "Anguilla"},
    {"AL", "Albania"},
    {"AM", "Armenia"},
    {"AO", "Angola"},
    {"AR", "Argentina"},
    {"AS", "American Samoa"},
    {"AT", "Austria"},
    {"AU", "Australia"},
    {"AW", "Aruba"},
    {"AX", "Åland Islands"},
    {"AZ", "Azerbaijan"},
    {"BA", "Bosnia and Herzegovina"},
    {"BB", "Barbados"},
    {"BD", "Bangladesh"},
    {"BE", "Belgium"},
    {"BF", "Burkina Faso"},
    {"BG", "Bulgaria"},
    {"BH", "Bahrain"},
    {"BI", "Burundi"},
    {"BJ", "Benin"},
    {"BL", "Saint Barthélemy"},
    {"BM", "Bermuda"},
    {"BN", "Brunei"},
    {"BO", "Bolivia"},
    {"BQ", "Caribbean Netherlands"},
    {"BR", "Brazil"},
    {"BS", "Bahamas"},
    {"BT", "Bhutan"},
    {"BW", "Botswana"},
    {"BY", "Belarus"},
    {"BZ", "Belize"},
    {"CA", "Canada"},
    {"CC", "Cocos (Keeling) Islands"},
    {"CD", "Congo (DRC)"},
    {"CF", "Central African Republic"},
    {"CG", "Congo (Republic)"},
    {"CH", "Switzerland"},
    {"CI", "Côte d’Ivoire"},
    {"CK", "Cook Islands"},
    {"CL", "Chile"},
    {"CM", "Cameroon"},
    {"CN", "China"},
    {"CO", "Colombia"},
    {"CR", "Costa Rica"},
    {"CU", "Cuba"},
    {"CV", "Cape Verde"},
    {"CW", "Curaçao"},
    {"CX", "Christmas Island"},
    {"CY", "Cyprus"},
    {"CZ", "Czech Republic"},
    {"DE", "Germany"},
    {"DG", "Diego Garcia"},
    {"DJ", "Djibouti"},
    {"DK", "Denmark"},
    {"DM", "Dominica"},
    {"DO", "Dominican Republic"},
    {"DZ", "Algeria"},
    {"EA", "Ceuta and Melilla"},
    {"EC", "Ecuador"},
    {"EE", "Estonia"},
    {"EG", "Egypt"},
    {"EH", "Western Sahara"},
    {"ER", "Eritrea"},
    {"ES", "Spain"},
    {"ET", "Ethiopia"},
    {"FI", "Finland"},
    {"FJ", "Fiji"},
    {"FK", "Falkland Islands (Islas Malvinas)"},
    {"FM", "Micronesia"},
    {"FO", "Faroe Islands"},
    {"FR", "France"},
    {"GA", "Gabon"},
    {"GB", "United Kingdom"},
    {"GD", "Grenada"},
    {"GF", "French Guiana"},
    {"GG", "Guernsey"},
    {"GH", "Ghana"},
    {"GI", "Gibraltar"},
    {"GL", "Greenland"},
    {"GM", "Gambia"},
    {"GN", "Guinea"},
    {"GP", "Guadeloupe"},
    {"GQ", "Equatorial Guinea"},
    {"GR", "Greece"},
    {"GT", "Guatemala"},
    {"GU", "Guam"},
    {"GW", "Guinea-Bissau"},
    {"GY", "Guyana"},
    {"HK", "Hong Kong"},
    {"HN", "Honduras"},
    {"HR", "Croatia"},
    {"HT", "Haiti"},
    {"HU", "Hungary"},
    {"IC", "Canary Islands"},
    {"ID", "Indonesia"},
    {"IE", "Ireland"},
    {"IL", "Israel"},
    {"IM", "Isle of Man"},
    {"IN", "India"},
    {"IO", "British Indian Ocean Territory"},
    {"IQ", "Iraq"},
    {"IR", "Iran"},
    {"IS", "Iceland"},
    {"IT", "Italy"},
    {"JE", "Jersey"},
    {"JM", "Jamaica"},
    {"JO", "Jordan"},
    {"JP", "Japan"},
    {"KE", "Kenya"},
    {"KG", "Kyrgyzstan"},
    {"KH", "Cambodia"},
    {"KI", "Kiribati"},
    {"KM", "Comoros"},
    {"KN", "Saint Kitts and Nevis"},
    {"KP", "North Korea"},
    {"KR", "South Korea"},
    {"KW", "Kuwait"},
    {"KY", "Cayman Islands"},
    {"KZ", "Kazakhstan"},
    {"LA", "Laos"},
    {"LB", "Lebanon"},
    {"LC", "Saint Lucia"},
    {"LI", "Liechtenstein"},
    {"LK", "Sri Lanka"},
    {"LR", "Liberia"},
    {"LS", "Lesotho"},
    {"LT", "Lithuania"},
    {"LU", "Luxembourg"},
    {"LV", "Latvia"},
    {"LY", "Libya"},
    {"MA", "Morocco"},
    {"MC", "Monaco"},
    {"MD", "Moldova"},
    {"ME", "Montenegro"},
    {"MF", "Saint Martin"},
    {"MG", "Madagascar"},
    {"MH", "Marshall Islands"},
    {"MK", "Macedonia (FYROM)"},
    {"ML", "Mali"},
    {"MM", "Myanmar (Burma)"},
    {"MN", "Mongolia"},
    {"MO", "Macau"},
    {"MP", "Northern Mariana Islands"},
    {"MQ", "Martinique"},
    {"MR", "Mauritania"},
    {"MS", "Montserrat"},
    {"MT", "Malta"},
    {"MU", "Mauritius"},
    {"MW", "Malawi"},
    {"MX", "Mexico"},
    {"MY", "Malaysia"},
    {"MZ", "Mozambique"},
    {"NA", "Namibia"},
    {"NC", "New Caledonia"},
    {"NE", "Niger"},
    {"NF", "Norfolk Island"},
    {"NG", "Nigeria"},
    {"NI", "Nicaragua"},
    {"NL", "Netherlands"},
    {"NO", "Norway"},
    {"NP", "Nepal"},
    {"NR", "Nauru"},
    {"NU", "Niue"},
    {"NZ", "New Zealand"},
    {"OM", "Oman"},
    {"PA", "Panama"},
    {"PE", "Peru"},
    {"PF", "French Polynesia"},
    {"PG", "Papua New Guinea"},
    {"PH", "Philippines"},
    {"PK", "Pakistan"},
    {"PL", "Poland"},
    {"PM", "Saint Pierre and Miquelon"},
    {"PN", "Pitcairn Islands"},
    {"PR", "Puerto Rico"},
    {"PS", "Palestine"},
    {"PT", "Portugal"},
    {"PW", "Palau"},
    {"PY", "Paraguay"},
    {"QA", "Qatar"},
    {"RE", "Réunion"},
    {"RO", "Romania"},
    {"RS", "Serbia"},
    {"RU", "Russia"},
    {"RW", "Rwanda"},
    {"SA", "Saudi Arabia"},
    {"SB", "Solomon Islands"},
    {"SC", "Seychelles"},
    {"SD", "Sudan"},
    {"SE", "Sweden"},
    {"SG", "Singapore"},
    {"SH", "Saint Helena"},
    {"SI", "Slovenia"},
    {"SJ", "Svalbard and Jan Mayen"},
    {"SK", "Slovakia"},
    {"SL", "Sierra Leone"},
    {"SM", "San Marino"},
    {"SN", "Senegal"},
    {"SO", "Somalia"},
    {"SR", "Suriname"},
    {"SS", "South Sudan"},
    {"ST", "São Tomé and Príncipe"},
    {"SV", "El Salvador"},
    {"SX", "Sint Maarten"},
    {"SY", "Syria"},
    {"SZ", "Swaziland"},
    {"TC", "Turks and Caicos Islands"},
    {"TD", "Chad"},
    {"TG", "Togo"},
    {"TH", "Thailand"},
    {"TK", "Tokelau"},
    {"TL", "Timor-Leste"},
    {"TN", "Tunisia"},
    {"TO", "Tonga"},
    {"TR", "Turkey"},
    {"TT", "Trinidad and Tobago"},
    {"TV", "Tuvalu"},
    {"TW", "Taiwan"},
    {"TZ", "Tanzania"},
    {"UA", "Ukraine"},
    {"UG", "Uganda"},
    {"UM", "U.S. Outlying Islands"},
    {"US", "United States"},
    {"UY", "Uruguay"},
    {"UZ", "Uzbekistan"},
    {"VC", "St. Vincent & Grenadines"},
    {"VE", "Venezuela"},
    {"VG", "British Virgin Islands"},
    {"VI", "U.S. Virgin Islands"},
    {"VN", "Vietnam"},
    {"VU", "Vanuatu"},
    {"WF", "Wallis and Futuna"},
    {"WS", "Samoa"},
    {"XK", "Kosovo"},
    {"YE", "Yemen"},
    {"YT", "Mayotte"},
    {"ZA", "South Africa"},
    {"ZM", "Zambia"},
    {"ZW", "Zimbabwe"},
};

template <size_t N>
QHash<QString, QString> NameMap(const TCodeName (&Table)[N])
{
    QHash<QString, QString> map;
    for (const TCodeName &entry : Table)
        map.insert(QString::fromLatin1(entry.Code), QString::fromUtf8(entry.Name));
    return map;
}

// The parts of a locale: language, script tag, region as the table writes it, and the POSIX variant.
struct TLocaleParts
{
    QString Language;
    QString Script;
    QString Region;
    bool Posix = false;
};

// A table qualifier is the language, then optionally "-r" with a region (possibly empty before a script),
// then "_#" and a script tag or "_POSIX".
TLocaleParts SplitTableQualifier(const QString &Qualifier)
{
    TLocaleParts parts;
    parts.Language = Qualifier;
    const qsizetype dash = Qualifier.indexOf(QLatin1String("-r"));
    if (dash >= 0) {
        parts.Language = Qualifier.left(dash);
        QString rest = Qualifier.mid(dash + 2);
        const qsizetype underscore = rest.indexOf(QLatin1Char('_'));
        if (underscore >= 0) {
            const QString suffix = rest.mid(underscore + 1);
            rest.truncate(underscore);
            if (suffix == QLatin1String("POSIX"))
                parts.Posix = true;
            else if (suffix.startsWith(QLatin1Char('#')))
                parts.Script = suffix.mid(1);
        }
        parts.Region = rest;
    }
    return parts;
}

QString TableQualifier(const TLocaleParts &Parts)
{
    QString qualifier = Parts.Language;
    if (!Parts.Region.isEmpty() || !Parts.Script.isEmpty() || Parts.Posix)
        qualifier += QLatin1String("-r") + Parts.Region;
    if (!Parts.Script.isEmpty())
        qualifier += QLatin1String("_#") + Parts.Script;
    if (Parts.Posix)
        qualifier += QLatin1String("_POSIX");
    return qualifier;
}

TLocaleDesc BuildRow(const QString &Qualifier, const QHash<QString, QString> &Languages,
                     const QHash<QString, QString> &Scripts, const QHash<QString, QString> &Regions)
{
    const TLocaleParts parts = SplitTableQualifier(Qualifier);
    QStringList details;
    if (!parts.Script.isEmpty())
        details << Scripts.value(parts.Script, parts.Script);
    if (!parts.Region.isEmpty())
        details << Regions.value(parts.Region, parts.Region);
    if (parts.Posix)
        details << QStringLiteral("Computer");

    TLocaleDesc row;
    row.LocaleName = Languages.value(parts.Language, parts.Language);
    if (!details.isEmpty())
        row.LocaleName += QStringLiteral(" (") + details.join(QLatin1Char(',')) + QLatin1Char(')');
    row.LocaleCode = parts.Language;
    bool numeric = false;
    const int number = parts.Region.toInt(&numeric);
    row.LocaleVariant = numeric ? QString::number(number) : parts.Region;
    row.ValuesFolderName = QStringLiteral("values-") + Qualifier;
    return row;
}

const std::vector<TLocaleDesc> &Rows()
{
    static const std::vector<TLocaleDesc> rows = [] {
        static_assert(sizeof(Qualifiers) / sizeof(Qualifiers[0]) == LocaleTableCount);
        const QHash<QString, QString> languages = NameMap(LanguageNames);
        const QHash<QString, QString> scripts = NameMap(ScriptNames);
        const QHash<QString, QString> regions = NameMap(RegionNames);
        std::vector<TLocaleDesc> built;
        built.reserve(LocaleTableCount);
        for (const char *qualifier : Qualifiers)
            built.push_back(BuildRow(QString::fromLatin1(qualifier), languages, scripts, regions));
        return built;
    }();
    return rows;
}

bool LettersAZ(const QString &Text)
{
    for (QChar c : Text)
        if (!((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))))
            return false;
    return !Text.isEmpty();
}

bool Digits(const QString &Text)
{
    for (QChar c : Text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !Text.isEmpty();
}

// A locale qualifier alone, in a form that Android's build reads: "ll", "ll-rRR" or "b+ll[+Ssss][+RR|+nnn][+posix]",
// letters in any case. False for anything else, a locale followed by other qualifiers included.
bool ParseAndroidQualifier(const QString &Qualifier, TLocaleParts &Parts)
{
    QStringList subtags;
    if (Qualifier.size() > 2 && UpperCaseAZ(Qualifier.left(2)) == QLatin1String("B+")) {
        subtags = Qualifier.mid(2).split(QLatin1Char('+'));
    } else {
        const QStringList dashed = Qualifier.split(QLatin1Char('-'));
        if (dashed.size() > 2)
            return false;
        subtags << dashed[0];
        if (dashed.size() == 2) {
            if (dashed[1].size() != 3 || UpperCaseAZ(dashed[1].left(1)) != QLatin1String("R"))
                return false;
            subtags << dashed[1].mid(1);
        }
    }
    const QString &language = subtags[0];
    if (language.size() < 2 || language.size() > 3 || !LettersAZ(language))
        return false;
    Parts = TLocaleParts();
    Parts.Language = LowerCaseAZ(language);
    qsizetype at = 1;
    if (at < subtags.size() && subtags[at].size() == 4 && LettersAZ(subtags[at])) {
        Parts.Script = UpperCaseAZ(subtags[at].left(1)) + LowerCaseAZ(subtags[at].mid(1));
        ++at;
    }
    if (at < subtags.size() && ((subtags[at].size() == 2 && LettersAZ(subtags[at])) ||
                                (subtags[at].size() == 3 && Digits(subtags[at])))) {
        Parts.Region = UpperCaseAZ(subtags[at]);
        ++at;
    }
    if (at < subtags.size() && SameTextAZ(subtags[at], QStringLiteral("posix"))) {
        Parts.Posix = true;
        ++at;
    }
    return at == subtags.size();
}

// The other ISO code of a language that Android reads as the same one; empty for the rest.
QString OtherIsoCode(const QString &Language)
{
    static const QHash<QString, QString> pairs = {
        {QStringLiteral("he"), QStringLiteral("iw")}, {QStringLiteral("iw"), QStringLiteral("he")},
        {QStringLiteral("id"), QStringLiteral("in")}, {QStringLiteral("in"), QStringLiteral("id")},
        {QStringLiteral("yi"), QStringLiteral("ji")}, {QStringLiteral("ji"), QStringLiteral("yi")},
    };
    return pairs.value(Language);
}

QString FolderKey(const TLocaleParts &Parts)
{
    return UpperCaseAZ(QStringLiteral("values-") + TableQualifier(Parts));
}

// The table never changes: its folded names are indexed once (the first row of a name wins, as a scan would),
// not folded again for every folder a project has.
struct TLocaleIndex
{
    QHash<QString, int> ByFolder;
    // "VALUES-LL-RRR" of a language and region that have no row of their own, to the row of that language and
    // region whose script is the one the region implies (CLDR's likely subtags, as QLocale has them).
    QHash<QString, int> ByImpliedScript;
};

const TLocaleIndex &Index()
{
    static const TLocaleIndex index = [] {
        TLocaleIndex built;
        const std::vector<TLocaleDesc> &rows = Rows();
        for (size_t i = 0; i < rows.size(); ++i) {
            const QString key = UpperCaseAZ(rows[i].ValuesFolderName);
            if (!built.ByFolder.contains(key))
                built.ByFolder.insert(key, int(i) + 1);
        }
        for (size_t i = 0; i < rows.size(); ++i) {
            TLocaleParts parts = SplitTableQualifier(rows[i].ValuesFolderName.mid(7));
            if (parts.Script.isEmpty() || parts.Region.isEmpty())
                continue;
            const QLocale::Language language = QLocale::codeToLanguage(parts.Language);
            const QLocale::Territory territory = QLocale::codeToTerritory(parts.Region);
            const QLocale likely(language, territory);
            // QLocale falls back to another locale where it has none of that language and region.
            if (language == QLocale::AnyLanguage || territory == QLocale::AnyTerritory ||
                likely.language() != language || likely.territory() != territory ||
                QLocale::scriptToCode(likely.script()) != parts.Script)
                continue;
            parts.Script.clear();
            const QString key = FolderKey(parts);
            if (!built.ByFolder.contains(key) && !built.ByImpliedScript.contains(key))
                built.ByImpliedScript.insert(key, int(i) + 1);
        }
        return built;
    }();
    return index;
}

} // namespace

const TLocaleDesc &LocaleTable(int Index)
{
    static const TLocaleDesc none;
    if (Index < 1 || Index > LocaleTableCount)
        return none;
    return Rows()[size_t(Index - 1)];
}

int FindLocaleByValuesFolder(const QString &FolderName)
{
    return Index().ByFolder.value(UpperCaseAZ(FolderName), -1);
}

int FindLocaleByQualifier(const QString &Qualifier)
{
    const TLocaleIndex &index = Index();
    const int own = index.ByFolder.value(UpperCaseAZ(QStringLiteral("values-") + Qualifier), -1);
    if (own > 0)
        return own;
    TLocaleParts parts;
    if (!ParseAndroidQualifier(Qualifier, parts))
        return -1;
    for (const QString &language : {parts.Language, OtherIsoCode(parts.Language)}) {
        if (language.isEmpty())
            continue;
        parts.Language = language;
        const QString key = FolderKey(parts);
        int row = index.ByFolder.value(key, -1);
        if (row < 0 && parts.Script.isEmpty() && !parts.Posix)
            row = index.ByImpliedScript.value(key, -1);
        if (row > 0)
            return row;
    }
    return -1;
}

int FindLocaleByLanguageFolder(const QString &FolderName, bool *Menu)
{
    const QString upper = UpperCaseAZ(FolderName.left(7));
    const bool menu = upper.startsWith(QLatin1String("MENU-"));
    if (!menu && upper != QLatin1String("VALUES-"))
        return -1;
    if (Menu)
        *Menu = menu;
    return FindLocaleByQualifier(FolderName.mid(menu ? 5 : 7));
}

QString LocaleQualifier(const TLocaleDesc &Desc)
{
    const int row = FindLocaleByValuesFolder(Desc.ValuesFolderName);
    if (row < 0)
        return QString();
    const QString own = LocaleTable(row).ValuesFolderName.mid(7);
    const TLocaleParts parts = SplitTableQualifier(own);
    // Android's own form of a region is two letters after "-r"; numbers, scripts and variants need BCP-47's.
    if (parts.Script.isEmpty() && !parts.Posix && !Digits(parts.Region))
        return own;
    QString tag = QStringLiteral("b+") + parts.Language;
    for (const QString &subtag : {parts.Script, parts.Region})
        if (!subtag.isEmpty())
            tag += QLatin1Char('+') + subtag;
    if (parts.Posix)
        tag += QStringLiteral("+posix");
    return tag;
}
