#include "Glossmill_ImportFilesDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "DialogParts.h"

TFormAddFiles *FormAddFiles = nullptr;

TFormAddFiles::TFormAddFiles(QWidget *parent) : QDialog(parent)
{
    DialogParts::SetupDialogWindow(this, "FormAddFiles", "Add Resource Files", 361, 385);

    Label1 = new QLabel("These files has been found in default resource folder but not exists in language resource "
                        "folder. Check files in the list you want to localize.",
                        this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(16, 16, 317, 47);
    Label1->setWordWrap(true);

    CHBFile = new QListWidget(this);
    CHBFile->setObjectName("CHBFile");
    CHBFile->setGeometry(14, 69, 323, 127);
    connect(CHBFile, &QListWidget::itemChanged, this, &TFormAddFiles::CHBFileClick);

    RGTransOptions = TransOptions::MakeGroup(this, QRect(20, 211, 309, 116));

    BOK = DialogParts::MakeOkButton(this, "BOK", QRect(20, 340, 88, 33));
    BitBtn2 = DialogParts::MakeCancelButton(this, "BitBtn2", QRect(130, 340, 85, 33));
    SetControls();
}

TFormAddFiles::~TFormAddFiles()
{
    if (FormAddFiles == this)
        FormAddFiles = nullptr;
}

void TFormAddFiles::SetFileNames(const QStringList &names)
{
    CHBFile->clear();
    for (const QString &name : names) {
        auto *row = new QListWidgetItem(name);
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row->setCheckState(Qt::Unchecked);
        CHBFile->addItem(row);
    }
    SetControls();
}

QStringList TFormAddFiles::CheckedFileNames() const
{
    QStringList names;
    for (int i = 0; i < CHBFile->count(); ++i)
        if (CHBFile->item(i)->checkState() == Qt::Checked)
            names << CHBFile->item(i)->text();
    return names;
}

void TFormAddFiles::SetControls()
{
    BOK->setEnabled(!CheckedFileNames().isEmpty());
}

void TFormAddFiles::FormShow()
{
    SetControls();
}

void TFormAddFiles::CHBFileClick()
{
    SetControls();
}

void TFormAddFiles::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}
