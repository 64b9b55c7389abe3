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
