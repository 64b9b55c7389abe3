#include "Glossmill_NewLangDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "DialogParts.h"
#include "Glossmill_MainForm.h"
#include "LocaleListRows.h"

TFormNewLang *FormNewLang = nullptr;

TFormNewLang::TFormNewLang(QWidget *parent) : QDialog(parent)
{
    DialogParts::SetupDialogWindow(this, "FormNewLang", "Add New Lang Localization", 393, 427);

    Label1 = new QLabel("Add new Language", this);
    Label1->setObjectName("Label1");
    Label1->move(16, 8);
    Label1->adjustSize();

    LBLanguages = LocaleListRows::MakeList(this, QRect(16, 28, 361, 195));
    connect(LBLanguages, &QListWidget::itemSelectionChanged, this, &TFormNewLang::LBLanguagesClick);

    CHBIncFiles = new TWordWrapCheckBox(
        "Include resource files cloned from default resource folder (recommended). ", this);
    CHBIncFiles->setObjectName("CHBIncFiles");
    CHBIncFiles->setGeometry(16, 224, 271, 43);
    CHBIncFiles->setChecked(true);
    connect(CHBIncFiles, &QCheckBox::toggled, this, &TFormNewLang::CHBIncFilesClick);

    RGTransOptions = TransOptions::MakeGroup(this, QRect(8, 273, 369, 96));

    bOK = DialogParts::MakeOkButton(this, "bOK", QRect(12, 382, 109, 31));
    BitBtn1 = DialogParts::MakeCancelButton(this, "BitBtn1", QRect(140, 382, 109, 31));
    SetControls();
}

TFormNewLang::~TFormNewLang()
{
    if (FormNewLang == this)
        FormNewLang = nullptr;
}

void TFormNewLang::FillList()
{
    FillList([](const TLocaleDesc &desc) { return GlossmillMainForm && GlossmillMainForm->LangExists(desc); });
}

void TFormNewLang::FillList(const std::function<bool(const TLocaleDesc &)> &langExists)
{
    LocaleListRows::Fill(LBLanguages, langExists);
    SetControls();
}

void TFormNewLang::SetControls()
{
    bOK->setEnabled(LocaleListRows::SelectedRow(LBLanguages) != nullptr);
    RGTransOptions->setEnabled(CHBIncFiles->isChecked());
}

const TLocaleDesc *TFormNewLang::SelectedLocale() const
{
    const TLocaleDescContainer *container = LocaleListRows::ContainerOf(LocaleListRows::SelectedRow(LBLanguages));
    return container ? &container->LangDesc : nullptr;
}

void TFormNewLang::FormShow()
{
    SetControls();
}

void TFormNewLang::LBLanguagesClick()
{
    SetControls();
}

void TFormNewLang::CHBIncFilesClick()
{
    SetControls();
}

void TFormNewLang::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}
