// Empty stand-ins for the item-list editing, saving, languages and web-translator commands, so that the window's
// controls are wired from the start. Each group moves to a file of its own (Glossmill_MainForm_Editing.cpp,
// _Saving.cpp, _Languages.cpp, _WebTranslator.cpp) when it is built, and its stand-ins leave this file.
#include "Glossmill_MainForm.h"

#include "Glossmill_LocaleConst.h"
#include "TTranslateItem.h"

void TGlossmillMainForm::AddLanguage()
{
}

bool TGlossmillMainForm::AddResourceFiles(bool showDialog)
{
    Q_UNUSED(showDialog);
    return false;
}

void TGlossmillMainForm::GetMissingResFiles(const TLocaleDesc &desc, tResourceType resType, QStringList &list)
{
    Q_UNUSED(desc);
    Q_UNUSED(resType);
    Q_UNUSED(list);
}

TTransResourceFileNode *TGlossmillMainForm::CreateResFileFromBase(const QString &fileName, const TLocaleDesc &desc,
                                                                  tResourceType resType, tTransState state, bool clear)
{
    Q_UNUSED(fileName);
    Q_UNUSED(desc);
    Q_UNUSED(resType);
    Q_UNUSED(state);
    Q_UNUSED(clear);
    return nullptr;
}

void TGlossmillMainForm::DeleteLanguage()
{
}

bool TGlossmillMainForm::LangExists(const TLocaleDesc &LocaleDesc) const
{
    Q_UNUSED(LocaleDesc);
    return false;
}

void TGlossmillMainForm::BAddLangClick()
{
}

void TGlossmillMainForm::PMAddLanguageClick()
{
}

void TGlossmillMainForm::BAddResFile2Click()
{
}

void TGlossmillMainForm::PMAddResourceClick()
{
}

void TGlossmillMainForm::PMDeleteLanguageClick()
{
}

void TGlossmillMainForm::BLangDeleteOnTabClick()
{
}

void TGlossmillMainForm::TranslateInWeb()
{
}

void TGlossmillMainForm::UpdateTargetLocale()
{
}

void TGlossmillMainForm::BLoadTransClick()
{
}

void TGlossmillMainForm::LVChange()
{
}

void TGlossmillMainForm::CHAutoLocaleClick()
{
}

void TGlossmillMainForm::SBShowDefaultLocalesClick()
{
}

void TGlossmillMainForm::SBSelectTargetLocaleClick()
{
}

void TGlossmillMainForm::WBGoogleNavigateComplete2()
{
}

void TGlossmillMainForm::ShowOptions()
{
}
