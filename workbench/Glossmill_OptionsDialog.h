#pragma once
#include <QDialog>
#include <QString>

#include "ModelSettings.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TEditExMP;
class TFRMOptions;

// Hands the model the three options it reads, straight from the dialog's fields.
class TOptionsModelSettings : public TModelSettingsProvider
{
public:
    explicit TOptionsModelSettings(const TFRMOptions &options) : FOptions(options) {}
    bool ReplaceWhiteSpaces() const override;
    bool DoNotWriteBOM() const override;
    bool KeepWhiteSpaces() const override;

private:
    const TFRMOptions &FOptions;
};

// The options dialog and the one holder of the six settings, loaded from the settings file when it is created
// and written back on OK. Other parts read the public fields directly.
class TFRMOptions : public QDialog
{
    Q_OBJECT
public:
    static const QString DefaultGoogleTranslateURL;
    static const QString GeneralSection; // "GENERAL"

    // iniFileName: the settings file (GetIniFileName() when empty). mainLocaleBox: the main window's source-locale
    // box, written once here with DefaultLocaleCode (may be null). The dialog registers itself with the model.
    explicit TFRMOptions(QWidget *parent = nullptr, QLineEdit *mainLocaleBox = nullptr,
                         const QString &iniFileName = QString());
    ~TFRMOptions() override;

    QString IniFileName() const { return FIniFileName; }

    void FormCreate(QLineEdit *mainLocaleBox);
    void FormShow();
    void BitBtn1Click();
    void LoadSettins();
    bool SaveSettins(); // false when the file could not be written; writing stops at the first failure
    void SetControls();
    void AcceptSettings();
    QString GetLocCode() const;

    QGroupBox *GroupBox1;
    QPushButton *BitBtn1;
    QCheckBox *CHBoom;
    QCheckBox *CHBEntityes;
    QCheckBox *CHBKeepWhiteSpc;
    QPlainTextEdit *MURL;
    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *EDDefaultLocaleCode;
    QLabel *Label3;
    QPushButton *BitBtn2;
    QLabel *Label4;
    TEditExMP *EDScrollLines;
    QLabel *Label5;
    QFrame *Bevel1;
    QLabel *Label6;

    bool ReplaceWhiteSpaces = false;
    bool DoNotWriteBOM = true;
    bool KeepWhiteSpaces = true;
    QString GogleTranslateGetURL;
    QString DefaultLocaleCode = QStringLiteral("en");
    int ScrollLines = 2;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls();

    QString FIniFileName;
    TOptionsModelSettings FModelSettings{*this};
};

// The single instance, created at start-up; not owned by this global.
extern TFRMOptions *FRMOptions;
