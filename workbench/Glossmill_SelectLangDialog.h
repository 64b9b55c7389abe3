#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QListWidget;
class QPushButton;

// Lets the user pick one locale of the table and hands back its code as the web translator writes it
// ("af-NA": language, "-" and region). The list is filled once at creation and keeps its selection between uses.
class TFormSelectLang : public QDialog
{
    Q_OBJECT
public:
    explicit TFormSelectLang(QWidget *parent = nullptr);
    ~TFormSelectLang() override;

    QLabel *Label1;
    QListWidget *LBLanguages;
    QPushButton *bOK;
    QPushButton *BitBtn1;

    void FillList();
    void SetControls();
    // Selects the first row in display order whose code, or code-variant, equals `LocCode` exactly; with no
    // match the selection stays as it was.
    void PresetLocaleCode(const QString &LocCode);
    // The selected row's code, or `ActualLocCode` unchanged when no row is selected.
    QString GetLocaleCode(const QString &ActualLocCode) const;

    void FormCreate();
    void FormShow();
    void LBLanguagesClick();

protected:
    void showEvent(QShowEvent *event) override;
};

// The single instance, created at start-up; not owned by this global.
extern TFormSelectLang *FormSelectLang;
