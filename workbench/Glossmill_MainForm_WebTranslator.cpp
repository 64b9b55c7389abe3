// The web translator pane: a translation page for the selected row's default text, with the source and target
// locale codes put into the address template of the options.
#include "Glossmill_MainForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTreeWidget>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <exception>

#include "Glossmill_Misc.h"
#include "Glossmill_OptionsDialog.h"
#include "Glossmill_SelectLangDialog.h"
#include "Glossmill_types.h"
#include "TTranslateItem.h"
#include "TranslateURL.h"

namespace {

bool IsBlank(const QString &Text)
{
    return TrimControls(Text).isEmpty();
}

// Presets the dialog with the box's code; on OK the box takes the chosen one.
void PickLocaleCode(QLineEdit *Box)
{
    if (!FormSelectLang)
        return;
    FormSelectLang->PresetLocaleCode(Box->text());
    if (FormSelectLang->exec() == QDialog::Accepted)
        Box->setText(FormSelectLang->GetLocaleCode(Box->text()));
}

} // namespace

void TGlossmillMainForm::TranslateInWeb()
{
    try {
        QTreeWidgetItem *row = LV->currentItem();
        TTransResourceFileNode *file = SelectedFileNode();
        TTranslateItem *item = row && row->isSelected() ? ItemOfRow(row) : nullptr;
        if (!item || !file)
            return;
        if (!FRMOptions) {
            LogException(nullptr, QStringLiteral("TranslateInWeb: no options"));
            return;
        }
        const QString text = TrimControls(item->FBaseValue);
        const QString address = FRMOptions->GogleTranslateGetURL;

        QString source;
        if (IsBlank(EDDefaultLocaleCode->text())) {
            source = FRMOptions->GetLocCode();
            EDDefaultLocaleCode->setText(source);
        } else {
            source = EDDefaultLocaleCode->text();
        }
        if (IsBlank(source))
            source = QStringLiteral("en");

        QString target;
        if (CHAutoLocale->isChecked() || IsBlank(EDTargetLocale->text())) {
            target = WebLocaleCode(file->LocaleDesc);
            EDTargetLocale->setText(target);
        } else {
            target = EDTargetLocale->text();
        }

        const QUrl url(FillTranslateURL(address, source, target, text), QUrl::TolerantMode);
        EnableScrollWebPage = true;
        emit TranslatorPageRequested(url);
        WBGoogle->load(url);
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
}

void TGlossmillMainForm::UpdateTargetLocale()
{
    QTreeWidgetItem *node = TVProject->currentItem();
    TTransNode *data = NodeData(node);
    const TLocaleDesc *desc = nullptr;
    if (auto *file = dynamic_cast<TTransResourceFileNode *>(data))
        desc = &file->LocaleDesc;
    else if (auto *lang = dynamic_cast<TTransLangNode *>(data))
        desc = &lang->LocaleDesc;
    else if (dynamic_cast<TTransResTypeNode *>(data))
        // A "values" or "menu" group has no locale of its own; its language's applies.
        if (auto *parentLang = dynamic_cast<TTransLangNode *>(NodeData(node->parent())))
            desc = &parentLang->LocaleDesc;
    if (!desc)
        return;
    if (CHAutoLocale->isChecked() || IsBlank(EDTargetLocale->text()))
        EDTargetLocale->setText(WebLocaleCode(*desc));
}

void TGlossmillMainForm::BLoadTransClick()
{
    TranslateInWeb();
}

void TGlossmillMainForm::LVChange()
{
    SetControls();
    AutoRefreshTranslation();
}

void TGlossmillMainForm::AutoRefreshTranslation()
{
    if (CHBUseWebTranslator->isChecked())
        TranslateInWeb();
}

void TGlossmillMainForm::CHAutoLocaleClick()
{
    UpdateTargetLocale();
    SetControls();
}

void TGlossmillMainForm::SBShowDefaultLocalesClick()
{
    PickLocaleCode(EDDefaultLocaleCode);
}

void TGlossmillMainForm::SBSelectTargetLocaleClick()
{
    PickLocaleCode(EDTargetLocale);
}

void TGlossmillMainForm::WBGoogleNavigateComplete2(bool ok)
{
    try {
        // A failed or stopped load leaves no page of ours; the request still waits for its scroll.
        if (!ok || !EnableScrollWebPage)
            return;
        EnableScrollWebPage = false;
        if (!FRMOptions) {
            LogException(nullptr, QStringLiteral("WBGoogleNavigateComplete2: no options"));
            return;
        }
        // The view has no window of its own to scroll; the page scrolls its document instead. The script runs
        // apart from the page's own, which cannot replace scrollBy there.
        WBGoogle->page()->runJavaScript(QStringLiteral("window.scrollBy(0, %1);").arg(FRMOptions->ScrollLines),
                                        QWebEngineScript::ApplicationWorld);
    } catch (const std::exception &e) {
        LogException(&e, QString());
    }
}

void TGlossmillMainForm::WBGoogleUrlChanged()
{
    // Only the part after "#" differed: the browser stays on the page shown and no page comes to be scrolled; a
    // page that loads later is not the one asked for.
    if (EnableScrollWebPage && !WBGoogle->page()->isLoading())
        EnableScrollWebPage = false;
}
