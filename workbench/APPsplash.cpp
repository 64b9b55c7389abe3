#include "APPsplash.h"

#include "AppImages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

TFormSplash *FormSplash = nullptr;

TFormSplash::TFormSplash(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FormSplash"));
    setWindowTitle(QStringLiteral("FormSplash"));
    // Never the window whose closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(602, 342);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(p);
    setAutoFillBackground(true);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    setFont(f);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(AppImages::SplashPicture());
    Image1->setGeometry(1, 1, 600, 340);
    Image1->installEventFilter(this);

    LBVer = new QLabel(QStringLiteral("LBVer"), this);
    LBVer->setObjectName(QStringLiteral("LBVer"));
    QFont vf(QStringLiteral("Tahoma"));
    vf.setPixelSize(13);
    vf.setBold(true);
    LBVer->setFont(vf);
    QPalette vp = LBVer->palette();
    vp.setColor(QPalette::WindowText, QColor(63, 173, 192));
    vp.setColor(QPalette::Window, Qt::white);
    LBVer->setPalette(vp);
    LBVer->setAutoFillBackground(true);
    LBVer->move(314, 140);

    SBClose = new QToolButton(this);
    SBClose->setObjectName(QStringLiteral("SBClose"));
    SBClose->setText(QStringLiteral("Close"));
    // Drawn as a button of its own, in the button colours: flat, its dark text would lie on the picture's dark teal.
    SBClose->setAutoRaise(false);
    SBClose->setGeometry(559, 322, 41, 18);
    SBClose->installEventFilter(this);

    TimerClose = new QTimer(this);
    TimerClose->setObjectName(QStringLiteral("TimerClose"));
    TimerClose->setInterval(10000);

    connect(SBClose, &QToolButton::clicked, this, [this]() { SBCloseClick(); });
    connect(TimerClose, &QTimer::timeout, this, [this]() { TimerCloseTimer(); });
    FormCreate();
}

void TFormSplash::FormCreate()
{
    Image1->move(1, 1);
}

void TFormSplash::setAllowClose(bool Value)
{
    FAllowClose = Value;
    SBClose->setVisible(true);
}

void TFormSplash::DoSplash(bool AllowClose)
{
    QString text = QStringLiteral("Ver ") + QLocale().toString(Version, 'f', 2);
    const int comma = text.indexOf(QLatin1Char(','));
    if (comma >= 0)
        text[comma] = QLatin1Char('.');
    LBVer->setText(text);
    LBVer->adjustSize();
    FAllowClose = AllowClose;
    SBClose->setVisible(AllowClose);
    if (!isVisible()) {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - rect().center());
    }
    show();
    raise();
}

void TFormSplash::RunAutoclose()
{
    TimerClose->start();
}

void TFormSplash::FormKeyUp(int Key)
{
    if (FAllowClose && Key == Qt::Key_Escape)
        close();
}

void TFormSplash::Image1Click()
{
    if (FAllowClose)
        close();
}

void TFormSplash::SBCloseClick()
{
    close();
}

void TFormSplash::TimerCloseTimer()
{
    TimerClose->stop();
    close();
}

bool TFormSplash::eventFilter(QObject *watched, QEvent *e)
{
    // The window sees key releases before its controls.
    if (e->type() == QEvent::KeyRelease) {
        FormKeyUp(static_cast<QKeyEvent *>(e)->key());
        if (!isVisible())
            return true;
    } else if (watched == Image1 && e->type() == QEvent::MouseButtonRelease) {
        Image1Click();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void TFormSplash::keyReleaseEvent(QKeyEvent *e)
{
    FormKeyUp(e->key());
    QWidget::keyReleaseEvent(e);
}
