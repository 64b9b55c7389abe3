#pragma once
#include <QString>
#include <QWidget>

class QFrame;
class QLineEdit;
class QStatusBar;
class QToolButton;
class QWebEngineView;

// A small browser that windows embed: Home, Back and Forward, an address box, the page and a status bar.
class TFWebBrowsing : public QWidget
{
    Q_OBJECT
public:
    explicit TFWebBrowsing(QWidget *Aowner);

    QFrame *Panel1 = nullptr;
    QWebEngineView *WBB = nullptr;
    QStatusBar *SB = nullptr;
    QToolButton *SBNavHome = nullptr;
    QToolButton *SBNAvBack = nullptr;
    QToolButton *SBNAvPrev = nullptr;
    QLineEdit *EDURL = nullptr;
    bool btnCanBack = false;
    bool btnCanForward = false;
    QString HomePage;
    // The loaded mark of a welcome tab: 0 until its page was first requested.
    int Tag = 0;

    // The addresses of the help and news pages that come with the program.
    static QString HelpPageAddress();
    static QString NewsPageAddress();

    void SetControls();
    void DoNavigate();
    void EDURLKeyPress();
    void SBNavHomeClick();
    void SBNAvBackClick();
    void SBNAvPrevClick();
    // Command 1 is Forward, 2 is Back; any other command only refreshes the buttons.
    void WBBCommandStateChange(int Command, bool Enable);
    void WBBStatusTextChange(const QString &Text);
    void WBBNavigateComplete2();
};
