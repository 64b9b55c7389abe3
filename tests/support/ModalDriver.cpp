#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <execinfo.h>

namespace ModalDriver {

namespace {

// Answers armed now: AnswerNextModal calls waiting for their window, and live message-box answerers.
int ArmedForAny = 0;
int ArmedForBoxes = 0;

bool IsArmedFor(QWidget *modal)
{
    return ArmedForAny > 0 || (ArmedForBoxes > 0 && qobject_cast<QMessageBox *>(modal));
}

// Whether a QDialog::exec() runs below this call. A modal window merely shown returns to the test by itself; only a
// dialog in its own loop waits for an answer, and the loop does not say so.
bool InDialogExec()
{
    void *frames[256];
    const int count = ::backtrace(frames, 256);
    for (int i = 0; i < count; ++i) {
        Dl_info info;
        if (::dladdr(frames[i], &info) && info.dli_sname && std::strcmp(info.dli_sname, "_ZN7QDialog4execEv") == 0)
            return true;
    }
    return false;
}

QString Describe(QWidget *modal)
{
    if (auto *box = qobject_cast<QMessageBox *>(modal))
        return QStringLiteral("\"%1\": %2").arg(box->windowTitle(), box->text())
            + (box->informativeText().isEmpty() ? QString() : QStringLiteral(" ") + box->informativeText());
    return QStringLiteral("\"%1\" (%2)").arg(modal->windowTitle(), QString::fromLatin1(modal->metaObject()->className()));
}

void CloseIfUnanswered()
{
    // Boxes that a test keeps causing (a question asked again until answered) must not keep it running.
    static int closedInThisTest = 0;
    static const ::testing::TestInfo *lastTest = nullptr;
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || IsArmedFor(modal) || !InDialogExec())
        return;
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (test != lastTest) {
        lastTest = test;
        closedInThisTest = 0;
    }
    ADD_FAILURE() << "a modal window that no answer was armed for was closed: " << Describe(modal).toStdString();
    if (++closedInThisTest > 20) {
        std::fprintf(stderr, "more than 20 modal windows without an answer in one test: stopped\n");
        std::fflush(nullptr);
        std::_Exit(1);
    }
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
}

TMessageBoxRecord RecordOf(QMessageBox *box)
{
    TMessageBoxRecord r;
    r.shown = true;
    r.title = box->windowTitle();
    r.text = box->text();
    r.icon = box->icon();
    r.buttons = box->standardButtons();
    return r;
}

void Press(QMessageBox *box, QMessageBox::StandardButton button)
{
    if (QAbstractButton *b = box->button(button))
        b->click();
    else
        box->reject();
}

} // namespace

void CloseUnansweredModals()
{
    auto *watcher = new QTimer(qApp);
    watcher->setInterval(20);
    QObject::connect(watcher, &QTimer::timeout, watcher, &CloseIfUnanswered);
    watcher->start();
}

void AnswerNextModal(std::function<void(QWidget *)> answer, int timeoutMs)
{
    auto *timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    auto shown = std::make_shared<QElapsedTimer>(); // since the window was first seen
    clock->start();
    timer->setInterval(10);
    ++ArmedForAny;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, shown, answer, timeoutMs]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            if (!shown->isValid())
                shown->start();
            // As the translator finds it: active, the focus where the dialog puts it. One that never becomes
            // active is answered all the same.
            if (!modal->isActiveWindow() && shown->elapsed() < 1000)
                return;
            timer->stop();
            timer->deleteLater();
            --ArmedForAny;
            answer(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            --ArmedForAny;
        }
    });
    timer->start();
}

void AnswerNextMessageBox(QMessageBox::StandardButton button, TMessageBoxRecord *record, int timeoutMs)
{
    AnswerNextModal(
        [button, record](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box) {
                w->close();
                return;
            }
            if (record)
                *record = RecordOf(box);
            Press(box, button);
        },
        timeoutMs);
}

TMessageBoxAnswerer::TMessageBoxAnswerer(QMessageBox::StandardButton button, QList<TMessageBoxRecord> *records)
    : TMessageBoxAnswerer([button](const TMessageBoxRecord &) { return button; }, records)
{
}

TMessageBoxAnswerer::TMessageBoxAnswerer(std::function<QMessageBox::StandardButton(const TMessageBoxRecord &)> choose,
                                         QList<TMessageBoxRecord> *records)
    : m_timer(new QTimer)
{
    ++ArmedForBoxes;
    m_timer->setInterval(10);
    QObject::connect(m_timer, &QTimer::timeout, [choose, records]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        const TMessageBoxRecord record = RecordOf(box);
        const QMessageBox::StandardButton button = choose(record);
        if (records)
            records->append(record);
        Press(box, button);
    });
    m_timer->start();
}

TMessageBoxAnswerer::~TMessageBoxAnswerer()
{
    delete m_timer;
    --ArmedForBoxes;
}

} // namespace ModalDriver
