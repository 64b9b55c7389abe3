#pragma once
#include <QString>

// One Android locale: English name, language code, region and the values folder of a project.
struct TLocaleDesc
{
    QString LocaleName;
    QString LocaleCode;
    QString LocaleVariant; // region, numeric ones without leading zeros; empty without region
    QString ValuesFolderName;
    QString Desc;
    int Tag = 0;
};

// Holds a copy of a table row for the rows of the locale lists.
class TLocaleDescContainer
{
public:
    TLocaleDesc LangDesc;
};

constexpr int LocaleTableCount = 627;

// Row Index of the built-in table, 1 to LocaleTableCount; an empty record outside that range.
const TLocaleDesc &LocaleTable(int Index);

// 1-based index of the row whose ValuesFolderName equals FolderName, ASCII case ignored; -1 when none does.
int FindLocaleByValuesFolder(const QString &FolderName);

// 1-based index of the row that a language folder's qualifier names as Android's build reads it: the row whose
// ValuesFolderName is "values-" + Qualifier (ASCII case ignored), else the row it names in an equivalent form: the
// BCP-47 form ("b+sr+Latn", "b+zh+Hans+CN"), the other ISO code of a language (he/iw, id/in, yi/ji), or a language
// and region whose only row carries the script the region implies ("zh-rCN" for zh-rCN_#Hans). -1 when none does.
int FindLocaleByQualifier(const QString &Qualifier);

// The row of a res sub-folder named "values-" or "menu-" (in any case) and a qualifier that FindLocaleByQualifier
// finds; -1 for any other name. *Menu, when given and a row is found, tells which of the two prefixes it has.
int FindLocaleByLanguageFolder(const QString &FolderName, bool *Menu = nullptr);

// The qualifier of the folders made for a table row, in a form Android's build accepts: the table's own ("de",
// "pt-rBR"), or BCP-47's for a script, the POSIX variant or a numeric region ("b+zh+Hans+CN", "b+en+US+posix",
// "b+es+419"). Empty for a record that is no table row.
QString LocaleQualifier(const TLocaleDesc &Desc);
