#pragma once
#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;
class TRadioGroup;

// Offers the default files that a language lacks, to be cloned into it; the caller fills it before each showing.
class TFormAddFiles : public QDialog
{
    Q_OBJECT
public:
    explicit TFormAddFiles(QWidget *parent = nullptr);
    ~TFormAddFiles() override;

    QListWidget *CHBFile;
    QPushButton *BOK;
    QPushButton *BitBtn2;
    QLabel *Label1;
    TRadioGroup *RGTransOptions;

    // Empties CHBFile and adds the names in order, unchecked.
    void SetFileNames(const QStringList &names);
    // The texts of the checked rows, in row order.
    QStringList CheckedFileNames() const;
    void SetControls();

    void FormShow();
    void CHBFileClick();

protected:
    void showEvent(QShowEvent *event) override;
};

// The single instance, created at start-up; not owned by this global.
extern TFormAddFiles *FormAddFiles;
