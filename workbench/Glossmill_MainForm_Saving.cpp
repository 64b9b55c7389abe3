// Saving one file or all, watching the shown file and its default file for changes by other programs, reloading.
#include "Glossmill_MainForm.h"

#include "Glossmill_Misc.h"
#include "Glossmill_types.h"
#include "TranslateURL.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>

namespace {

// Runs SetControls when the operation ends, also when it ends by an exception.
struct TSetControlsWhenDone
{
    TGlossmillMainForm *Form;
    ~TSetControlsWhenDone() { Form->SetControls(); }
};

bool AskYesNo(QWidget *owner, const QString &caption, const QString &text)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    // The file name is the project's: shown as written, whatever it holds.
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

const QString CRLF = QStringLiteral("\r\n");

} // namespace

bool TGlossmillMainForm::SaveFileNode(TTransResourceFileNode *file)
{
    // Another program wrote the file since it was loaded or saved (a pull, an editor): writing would drop that
    // change unasked. No keeps the file unsaved with its edits, which is not a failed save.
    if (file->CheckFileTimeChanged() && QFileInfo(file->ResourceFileName).isFile() &&
        !AskYesNo(this, QStringLiteral("Vorel Glossmill - Translated resource file changed"),
                  QStringLiteral("Resource file ") + QFileInfo(file->ResourceFileName).fileName() +
                      QStringLiteral(" (") + WebLocaleCode(file->LocaleDesc) +
                      QStringLiteral(") has been changed outside of the Glossmill.") + CRLF + CRLF +
                      QStringLiteral("Do you want to save your translation over these changes?")))
        return false;
    bool ok = false;
    try {
        ok = file->SaveFile(QString());
        // The work and backup files go only once the language file holds the saved document.
        if (ok)
            file->DeleteTempXMFile();
    } catch (const std::exception &e) {
        LogException(&e, QString());
        ok = false;
    }
    if (!ok)
        ShowErrorBox(QStringLiteral("Save Error"), QStringLiteral("Can not save file ") + file->ResourceFileName);
    return ok;
}

void TGlossmillMainForm::SaveSelected()
{
    const TFileCheckHold hold(this);
    TSetControlsWhenDone done{this};
    // The tool button and the menu take no focus from the list's editor: what it holds is saved with the rest.
    StorePendingEdit();
    if (TTransResourceFileNode *file = SelectedFileNode())
        SaveFileNode(file);
}

bool TGlossmillMainForm::SaveAll()
{
    // A reopen run from the activation after an error box would free the tree under this walk.
    const TFileCheckHold hold(this);
    TSetControlsWhenDone done{this};
    StorePendingEdit();
    bool failed = false;
    for (QTreeWidgetItemIterator it(TVProject); *it; ++it) {
        auto *file = dynamic_cast<TTransResourceFileNode *>(NodeData(*it));
        if (file && file->NeedSave() && !SaveFileNode(file))
            failed = true;
    }
    return !failed;
}

void TGlossmillMainForm::SBSAveClick()
{
    SaveSelected();
}

void TGlossmillMainForm::MMSaveClick()
{
    SaveSelected();
}

void TGlossmillMainForm::SBSaveAllClick()
{
    SaveAll();
}

void TGlossmillMainForm::MMSaveAllClick()
{
    SaveAll();
}

void TGlossmillMainForm::CheckFileChanged()
{
    // The activation that follows a box of the window itself waits for the next tick.
    if (FFileCheckHeld > 0 || !isActiveWindow())
        return;
    const TFileCheckHold hold(this);
    TSetControlsWhenDone done{this};

    TTransResourceFileNode *file = SelectedFileNode();
    if (!file)
        return;
    const bool isDefault = file->IsBase();
    const bool changed = file->CheckFileTimeChanged();
    const QString name = QFileInfo(file->ResourceFileName).fileName();
    const bool defaultChanged = file->CheckBaseFileTimeChanged();
    const QString suffix =
        isDefault ? QString() : QStringLiteral(" (") + file->LocaleDesc.LocaleCode + QStringLiteral(")");
    if (!changed && !defaultChanged)
        return;

    TMCheckFileChanged->stop();
    if (defaultChanged) {
        const bool yes = AskYesNo(this, QStringLiteral("Vorel Glossmill - Base resource file changed"),
                                  QStringLiteral("Default resource file ") + name +
                                      QStringLiteral(" has been changed outside of the Glossmill.") + CRLF + CRLF +
                                      QStringLiteral("Do you want to save all translation of these file and reload "
                                                     "project? (RECOMMENDED)."));
        // Yes saves an edit in progress with the rest; No leaves it running.
        if (yes)
            SaveAllAndReload(); // frees `file` when the project is reopened
        else
            file->RememberBaseFileTime();
    } else {
        const bool yes = AskYesNo(this, QStringLiteral("Vorel Glossmill - Translated resource file changed"),
                                  QStringLiteral("Resource file ") + name + suffix +
                                      QStringLiteral(" has been changed outside of the Glossmill.") + CRLF + CRLF +
                                      QStringLiteral("Do you want to reload the file?"));
        if (yes) {
            CancelEdit();
            ReloadSelected();
        } else {
            file->RememberFileTime();
        }
    }
    TMCheckFileChanged->start();
}

void TGlossmillMainForm::CancelEdit()
{
    EndListEdit(1);
}

bool TGlossmillMainForm::SaveAllAndReload()
{
    try {
        TTransResourceFileNode *file = SelectedFileNode();
        if (!file)
            return true;
        const QString name = QFileInfo(file->ResourceFileName).fileName();
        const TLocaleDesc locale = file->LocaleDesc;
        if (SaveAll())
            ReopenAndSelect(name, locale);
        return true;
    } catch (...) {
        return false;
    }
}

bool TGlossmillMainForm::ReloadSelected()
{
    try {
        TTransResourceFileNode *file = SelectedFileNode();
        if (!file)
            return true;
        const QString path = file->ResourceFileName;
        // The rows point at the items that the parse is about to free.
        LV->clear();
        file->DeleteTempXMFile();
        file->LoadResFile(path);
        file->Parse();
        file->AddAllToListView();
        file->RememberFileTime();
        // The file stays shown, so its new items take undo snapshots as the old ones did.
        file->EnableDisablUndoMode(true);
        return true;
    } catch (...) {
        return false;
    }
}

void TGlossmillMainForm::TMCheckFileChangedTimer()
{
    CheckFileChanged();
}
