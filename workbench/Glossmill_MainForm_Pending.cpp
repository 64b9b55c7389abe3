// Empty stand-ins for the item-list editing and saving commands, so that the window's controls are wired from the
// start. Each group moves to a file of its own (Glossmill_MainForm_Editing.cpp, _Saving.cpp) when it is built, and
// its stand-ins leave this file.
#include "Glossmill_MainForm.h"

#include "Glossmill_LocaleConst.h"
#include "TTranslateItem.h"

void TGlossmillMainForm::SetFilter(QAction *entry, tTransState state)
{
    Q_UNUSED(entry);
    Q_UNUSED(state);
}

void TGlossmillMainForm::PMFilterAllClick()
{
}

void TGlossmillMainForm::PMFilterAllexcludemarkedasDonttranslateClick()
{
}

void TGlossmillMainForm::PMFilterTranslatedClick()
{
}

void TGlossmillMainForm::PMFilterNeedbeterClick()
{
}

void TGlossmillMainForm::PMFilterFinalClick()
{
}

void TGlossmillMainForm::PMFilterDontTransClick()
{
}

void TGlossmillMainForm::BFilterClick()
{
}

void TGlossmillMainForm::BMarkAsClick()
{
}

void TGlossmillMainForm::MarkTranslation(tTransState state)
{
    Q_UNUSED(state);
}

void TGlossmillMainForm::FinalTrnslation1Click()
{
}

void TGlossmillMainForm::NeedBetter1Click()
{
}

void TGlossmillMainForm::Donottranslate1Click()
{
}

void TGlossmillMainForm::RememberUndo(TTransResourceFileNode *file, TTranslateItem *item)
{
    Q_UNUSED(file);
    Q_UNUSED(item);
}

bool TGlossmillMainForm::CanUndo() const
{
    return false;
}

bool TGlossmillMainForm::CanRedo() const
{
    return false;
}

void TGlossmillMainForm::DoUndo()
{
}

void TGlossmillMainForm::DoRedo()
{
}

void TGlossmillMainForm::SBUndoClick()
{
}

void TGlossmillMainForm::SBREdoClick()
{
}

void TGlossmillMainForm::CopyDefaultValue()
{
}

void TGlossmillMainForm::BCopyBaseClick()
{
}

void TGlossmillMainForm::BAcceptFromGoogleClick()
{
}

void TGlossmillMainForm::EditInWindow()
{
}

void TGlossmillMainForm::SBEditInWindowClick()
{
}

void TGlossmillMainForm::LVDblClick()
{
}

int TGlossmillMainForm::GetTranslationColumn() const
{
    return -1;
}

void TGlossmillMainForm::LVClick()
{
}

void TGlossmillMainForm::WMEditSubItem(int row)
{
    Q_UNUSED(row);
}

void TGlossmillMainForm::ListViewEditorKeyDown(int &key, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(key);
    Q_UNUSED(shift);
}

void TGlossmillMainForm::EndListEdit(int mode)
{
    Q_UNUSED(mode);
}

void TGlossmillMainForm::LVExit()
{
}

bool TGlossmillMainForm::HandleMouseWheel(Qt::KeyboardModifiers shift, int wheelDelta, const QPoint &mousePos)
{
    Q_UNUSED(shift);
    Q_UNUSED(wheelDelta);
    Q_UNUSED(mousePos);
    return false;
}

void TGlossmillMainForm::SaveSelected()
{
}

bool TGlossmillMainForm::SaveAll()
{
    return true;
}

void TGlossmillMainForm::SBSAveClick()
{
}

void TGlossmillMainForm::MMSaveClick()
{
}

void TGlossmillMainForm::SBSaveAllClick()
{
}

void TGlossmillMainForm::MMSaveAllClick()
{
}

void TGlossmillMainForm::CheckFileChanged()
{
}

void TGlossmillMainForm::CancelEdit()
{
}

bool TGlossmillMainForm::SaveAllAndReload()
{
    return false;
}

bool TGlossmillMainForm::ReloadSelected()
{
    return false;
}

void TGlossmillMainForm::TMCheckFileChangedTimer()
{
}

