#pragma once
#include <QString>

struct TLocaleDesc;

// The code the translation page takes for a locale: "af", or "pt-BR" with a region.
QString WebLocaleCode(const TLocaleDesc &Desc);

// Fills the translation address template: every "%SOURCE_LOCALE_CODE%" in any letter case, then the first
// "%TARGET_LOCALE_CODE%" and the first "%TRANSLATED_TEXT%" in exact case. Codes and text go in as they are, the
// text last, so placeholders inside it stay. Only where the text lands before the address's "#" are its "#" and
// "&" written as %23 and %26: raw, they would cut the text off there.
QString FillTranslateURL(const QString &Template, const QString &SourceCode, const QString &TargetCode,
                         const QString &Text);
