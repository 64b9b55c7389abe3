#pragma once
#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;
class QTextEdit;

// The "Translation" window: one translation edited beside its default text. One instance lives for the whole
// run, so the word-wrap choice carries over from one display to the next.
// Use: Fill(translation, default text); exec(); on QDialog::Accepted read Translation().
class TFEditTranslation : public QDialog
{
    Q_OBJECT

public:
    explicit TFEditTranslation(QWidget *parent = nullptr);

    // Puts the translation into `RE` and the default text into `RESource`; the word-wrap choice stays.
    void Fill(const QString &translation, const QString &defaultText);

    // The text of `RE` exactly as edited: lines joined by "\n", non-breaking spaces kept.
    QString Translation() const;

    QWidget *Panel1;      // bottom strip
    QPushButton *BitBtn1; // OK
    QPushButton *BitBtn2; // Cancel
    QWidget *Panel2;      // top strip
    QCheckBox *CheckBox1;
    QWidget *Panel3;
    QWidget *Panel4;
    QWidget *Panel6;
    QLabel *Panel5;
    QTextEdit *RE;
    QTextEdit *RESource;
    QLabel *Label1;

public slots:
    void CheckBox1Click();

protected:
    void showEvent(QShowEvent *event) override;
};

// The one instance, made at start-up; null before.
extern TFEditTranslation *FEditTranslation;
