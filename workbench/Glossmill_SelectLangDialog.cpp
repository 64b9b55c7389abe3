#include "Glossmill_SelectLangDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "DialogParts.h"
#include "LocaleListRows.h"

TFormSelectLang *FormSelectLang = nullptr;

TFormSelectLang::TFormSelectLang(QWidget *parent) : QDialog(parent)
{
    DialogParts::SetupDialogWindow(this, "FormSelectLang", "Select Locale", 396, 362);

    Label1 = new QLabel("Select Locale", this);
    Label1->setObjectName("Label1");
    Label1->move(12, 8);
    Label1->adjustSize();

    LBLanguages = LocaleListRows::MakeList(this, QRect(12, 28, 361, 261));
    connect(LBLanguages, &QListWidget::itemSelectionChanged, this, &TFormSelectLang::LBLanguagesClick);

    bOK = DialogParts::MakeOkButton(this, "bOK", QRect(12, 305, 109, 31));
    BitBtn1 = DialogParts::MakeCancelButton(this, "BitBtn1", QRect(127, 305, 109, 31));

    FormCreate();
}

TFormSelectLang::~TFormSelectLang()
{
    if (FormSelectLang == this)
        FormSelectLang = nullptr;
}

void TFormSelectLang::FormCreate()
{
    FillList();
}

void TFormSelectLang::FillList()
{
    // Filled at start-up, when no project is open, so no language is filtered out.
    LocaleListRows::Fill(LBLanguages, {});
}

void TFormSelectLang::SetControls()
{
    bOK->setEnabled(LocaleListRows::SelectedRow(LBLanguages) != nullptr);
}

void TFormSelectLang::PresetLocaleCode(const QString &LocCode)
{
    for (int i = 0; i < LBLanguages->count(); ++i) {
        QListWidgetItem *row = LBLanguages->item(i);
        const TLocaleDescContainer *container = LocaleListRows::ContainerOf(row);
        if (!container)
            continue;
        const TLocaleDesc &desc = container->LangDesc;
        if (desc.LocaleCode == LocCode || desc.LocaleCode + "-" + desc.LocaleVariant == LocCode) {
            LBLanguages->setCurrentItem(row);
            LBLanguages->scrollToItem(row);
            break;
        }
    }
    SetControls();
}

QString TFormSelectLang::GetLocaleCode(const QString &ActualLocCode) const
{
    const TLocaleDescContainer *container = LocaleListRows::ContainerOf(LocaleListRows::SelectedRow(LBLanguages));
    if (!container)
        return ActualLocCode;
    const TLocaleDesc &desc = container->LangDesc;
    return desc.LocaleVariant.isEmpty() ? desc.LocaleCode : desc.LocaleCode + "-" + desc.LocaleVariant;
}

void TFormSelectLang::FormShow()
{
    SetControls();
}

void TFormSelectLang::LBLanguagesClick()
{
    SetControls();
}

void TFormSelectLang::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}
