#pragma once
#include <QDialog>
#include <functional>

#include "Glossmill_LocaleConst.h"

class QLabel;
class QListWidget;
class QPushButton;
class TRadioGroup;
class QCheckBox;

// Asks for the language to add and whether to clone the default files into it, and how.
// Filled by FillList before each showing; the clone box and the option keep the user's last choice.
class TFormNewLang : public QDialog
{
    Q_OBJECT
public:
    explicit TFormNewLang(QWidget *parent = nullptr);
    ~TFormNewLang() override;

    QListWidget *LBLanguages;
    QPushButton *bOK;
    QCheckBox *CHBIncFiles;
    QPushButton *BitBtn1;
    QLabel *Label1;
    TRadioGroup *RGTransOptions;

    // Lists every table row the open project lacks, by the main window's LangExists.
    void FillList();
    // The same with another test of what the project has; an empty test lists every row.
    void FillList(const std::function<bool(const TLocaleDesc &)> &langExists);
    void SetControls();

    // The selected row's locale, or nullptr when no row is selected.
    const TLocaleDesc *SelectedLocale() const;

    void FormShow();
    void LBLanguagesClick();
    void CHBIncFilesClick();

protected:
    void showEvent(QShowEvent *event) override;
};

// The single instance, created at start-up; not owned by this global.
extern TFormNewLang *FormNewLang;
