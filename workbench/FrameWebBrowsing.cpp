#include "FrameWebBrowsing.h"

#include "AppImages.h"
#include "GlossmillResources.h"

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// The pages come with the program, so they load without a network wherever it runs.
const char ProductSite[] = "qrc:/glossmill-online-content/";

QToolButton *NavButton(const QString &name, const QString &icon, const QString &hint, int left, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(AppImages::Icon(icon));
    b->setIconSize(QSize(20, 20));
    b->setAutoRaise(true);
    b->setToolTip(hint);
    b->setGeometry(left, 3, 30, 30);
    return b;
}

// Keeps the address box at its place and widening with the tool bar.
class TToolBarPanel : public QFrame
{
public:
    using QFrame::QFrame;
    QLineEdit *Url = nullptr;

protected:
    void resizeEvent(QResizeEvent *e) override
    {
        QFrame::resizeEvent(e);
        if (Url)
            Url->setGeometry(98, 8, std::max(40, width() - 98 - 7), 21);
    }
};

} // namespace

QString TFWebBrowsing::HelpPageAddress()
{
    InitGlossmillResources();
    return QString::fromLatin1(ProductSite) + QStringLiteral("onlinedoc.html");
}

QString TFWebBrowsing::NewsPageAddress()
{
    InitGlossmillResources();
    return QString::fromLatin1(ProductSite) + QStringLiteral("whatisnew.html");
}

TFWebBrowsing::TFWebBrowsing(QWidget *Aowner) : QWidget(Aowner)
{
    setObjectName(QStringLiteral("FWebBrowsing"));
    resize(640, 409);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    auto *panel = new TToolBarPanel(this);
    Panel1 = panel;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(35);
    Panel1->setAutoFillBackground(true);
    SBNavHome = NavButton("SBNavHome", "home", "Home", 0, Panel1);
    SBNAvBack = NavButton("SBNAvBack", "back", "Back", 33, Panel1);
    SBNAvPrev = NavButton("SBNAvPrev", "forward", "Forward", 62, Panel1);
    EDURL = new QLineEdit(QStringLiteral("http://www"), Panel1);
    EDURL->setObjectName(QStringLiteral("EDURL"));
    EDURL->setGeometry(98, 8, 535, 21);
    panel->Url = EDURL;
    v->addWidget(Panel1);

    WBB = new QWebEngineView(this);
    WBB->setObjectName(QStringLiteral("WBB"));
    v->addWidget(WBB, 1);

    SB = new QStatusBar(this);
    SB->setObjectName(QStringLiteral("SB"));
    SB->setFixedHeight(19);
    SB->setSizeGripEnabled(false);
    v->addWidget(SB);

    connect(SBNavHome, &QToolButton::clicked, this, [this]() { SBNavHomeClick(); });
    connect(SBNAvBack, &QToolButton::clicked, this, [this]() { SBNAvBackClick(); });
    connect(SBNAvPrev, &QToolButton::clicked, this, [this]() { SBNAvPrevClick(); });
    connect(EDURL, &QLineEdit::returnPressed, this, [this]() { EDURLKeyPress(); });
    QAction *forward = WBB->pageAction(QWebEnginePage::Forward);
    QAction *back = WBB->pageAction(QWebEnginePage::Back);
    connect(forward, &QAction::changed, this, [this, forward]() { WBBCommandStateChange(1, forward->isEnabled()); });
    connect(back, &QAction::changed, this, [this, back]() { WBBCommandStateChange(2, back->isEnabled()); });
    connect(WBB->page(), &QWebEnginePage::linkHovered, this, [this](const QString &url) { WBBStatusTextChange(url); });
    connect(WBB, &QWebEngineView::loadFinished, this, [this]() { WBBNavigateComplete2(); });

    btnCanBack = false;
    btnCanForward = false;
    SetControls();
}

void TFWebBrowsing::SetControls()
{
    SBNAvBack->setEnabled(btnCanBack);
    SBNAvPrev->setEnabled(btnCanForward);
    SBNavHome->setEnabled(!HomePage.trimmed().isEmpty());
}

void TFWebBrowsing::DoNavigate()
{
    WBB->stop();
    WBB->setUrl(QUrl(EDURL->text()));
}

void TFWebBrowsing::EDURLKeyPress()
{
    DoNavigate();
}

void TFWebBrowsing::SBNavHomeClick()
{
    WBB->setUrl(QUrl(HomePage));
}

void TFWebBrowsing::SBNAvBackClick()
{
    WBB->back();
}

void TFWebBrowsing::SBNAvPrevClick()
{
    WBB->forward();
}

void TFWebBrowsing::WBBCommandStateChange(int Command, bool Enable)
{
    if (Command == 1)
        btnCanForward = Enable;
    else if (Command == 2)
        btnCanBack = Enable;
    SetControls();
}

void TFWebBrowsing::WBBStatusTextChange(const QString &Text)
{
    SB->showMessage(Text);
}

void TFWebBrowsing::WBBNavigateComplete2()
{
}
