#include "TranslateURL.h"

#include "Glossmill_LocaleConst.h"

namespace {

void ReplaceFirst(QString &Text, const QString &Placeholder, const QString &Value)
{
    const qsizetype at = Text.indexOf(Placeholder, 0, Qt::CaseSensitive);
    if (at >= 0)
        Text.replace(at, Placeholder.size(), Value);
}

} // namespace

QString WebLocaleCode(const TLocaleDesc &Desc)
{
    return Desc.LocaleVariant.isEmpty() ? Desc.LocaleCode : Desc.LocaleCode + QLatin1Char('-') + Desc.LocaleVariant;
}

QString FillTranslateURL(const QString &Template, const QString &SourceCode, const QString &TargetCode,
                         const QString &Text)
{
    static const QString Source = QStringLiteral("%SOURCE_LOCALE_CODE%");
    static const QString Target = QStringLiteral("%TARGET_LOCALE_CODE%");
    static const QString Translated = QStringLiteral("%TRANSLATED_TEXT%");

    QString address = Template;
    address.replace(Source, SourceCode, Qt::CaseInsensitive);
    ReplaceFirst(address, Target, TargetCode);

    const qsizetype at = address.indexOf(Translated, 0, Qt::CaseSensitive);
    if (at < 0)
        return address;
    QString text = Text;
    const qsizetype fragment = address.indexOf(QLatin1Char('#'));
    if (fragment < 0 || fragment > at) {
        // In the path or query a raw "#" starts the fragment and a raw "&" the next parameter.
        text.replace(QLatin1Char('#'), QStringLiteral("%23"));
        text.replace(QLatin1Char('&'), QStringLiteral("%26"));
    }
    address.replace(at, Translated.size(), text);
    return address;
}
