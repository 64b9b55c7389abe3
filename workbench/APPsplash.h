#pragma once
#include <QWidget>

class QLabel;
class QTimer;
class QToolButton;

// The start-up splash, which the user cannot close, and the About box, which the user closes with Close,
// Esc or a click on the picture.
class TFormSplash : public QWidget
{
    Q_OBJECT
public:
    explicit TFormSplash(QWidget *parent = nullptr);

    static constexpr double Version = 1.0;

    QLabel *Image1 = nullptr;
    QLabel *LBVer = nullptr;
    QTimer *TimerClose = nullptr;
    QToolButton *SBClose = nullptr;
    bool FAllowClose = false;

    bool AllowClose() const { return FAllowClose; }
    void setAllowClose(bool Value);

    // Writes the version, sets whether the user may close it, and shows it without making it modal.
    void DoSplash(bool AllowClose);
    void RunAutoclose();

    void FormCreate();
    void FormKeyUp(int Key);
    void Image1Click();
    void SBCloseClick();
    void TimerCloseTimer();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
};

// The one splash window of the run; created by ProgramMain.
extern TFormSplash *FormSplash;
