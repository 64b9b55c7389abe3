#include "WindowShowing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <optional>

namespace {

// Ends the loop once the watched window is exposed; the window paints itself right after this sees the event.
class TExposeWatch : public QObject
{
public:
    TExposeWatch(QWindow *window, QEventLoop *loop) : m_window(window), m_loop(loop)
    {
        window->installEventFilter(this);
    }
    ~TExposeWatch() override
    {
        if (m_window)
            m_window->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == m_window && e->type() == QEvent::Expose && m_window->isExposed())
            m_loop->quit();
        return false;
    }

private:
    QPointer<QWindow> m_window;
    QEventLoop *m_loop;
};

// A window state that the window manager drops from a re-created native window within this time is given back.
constexpr int RecreateGraceMs = 3000;

// Gives a re-created native window the state the window had when its old one went.
class TStateKeeper : public QObject
{
public:
    explicit TStateKeeper(QWidget *window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (e->type() == QEvent::WinIdChange) {
            if (window->internalWinId() == 0) {
                m_stateBefore = window->windowState();
            } else if (m_stateBefore) {
                m_wanted = m_stateBefore;
                m_stateBefore.reset();
                m_since.start();
            }
        } else if (e->type() == QEvent::WindowStateChange && m_wanted) {
            const Qt::WindowStates wanted = *m_wanted;
            const Qt::WindowStates now = window->windowState();
            if (m_since.elapsed() > RecreateGraceMs || (now & Qt::WindowMinimized)) {
                m_wanted.reset();
            } else if (now != wanted) {
                m_wanted.reset();
                QTimer::singleShot(0, window, [window, wanted]() { window->setWindowState(wanted); });
            }
        }
        return false;
    }

private:
    std::optional<Qt::WindowStates> m_stateBefore;
    std::optional<Qt::WindowStates> m_wanted;
    QElapsedTimer m_since;
};

} // namespace

void PaintWhenExposed(QWidget *Window, int LimitMs)
{
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents();
    QWindow *native = Window->windowHandle();
    if (native && Window->isVisible() && !native->isExposed() && clock.elapsed() < LimitMs) {
        QEventLoop loop;
        TExposeWatch watch(native, &loop);
        QTimer::singleShot(int(LimitMs - clock.elapsed()), &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (Window->isVisible())
        Window->repaint();
    // The paint must reach the window system before the caller blocks.
    QGuiApplication::sync();
}

void ShowMaximizedToStay(QWidget *Window)
{
    new TStateKeeper(Window);
    Window->showMaximized();
}
