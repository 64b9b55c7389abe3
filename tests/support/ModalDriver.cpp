#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace ModalDriver {

namespace {

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

void AnswerNextModal(std::function<void(QWidget *)> answer, int timeoutMs)
{
    auto *timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, answer, timeoutMs]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
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
    : m_timer(new QTimer)
{
    m_timer->setInterval(10);
    QObject::connect(m_timer, &QTimer::timeout, [button, records]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        if (records)
            records->append(RecordOf(box));
        Press(box, button);
    });
    m_timer->start();
}

TMessageBoxAnswerer::~TMessageBoxAnswerer()
{
    delete m_timer;
}

} // namespace ModalDriver
