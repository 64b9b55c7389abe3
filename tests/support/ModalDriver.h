#pragma once
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// Lets a test answer modal dialogs and message boxes that the code under test opens with exec().
// Arm it before the call that opens the dialog; the answer runs inside that dialog's modal loop. A dialog in exec()
// that no armed answer takes is closed by the watcher that every test program starts, and the test fails.
namespace ModalDriver {

// Starts the watcher: from now on a modal dialog or message box shown by exec() that no answer below is armed for
// is closed (rejected) at once, and the running test fails with its caption and text. Modal windows merely shown
// are left alone. Called once by test_main.
void CloseUnansweredModals();

// Runs `answer` on the next modal widget that becomes active (within `timeoutMs`), once: when it is the active
// window, or after a second shown if it never becomes one.
void AnswerNextModal(std::function<void(QWidget *)> answer, int timeoutMs = 10000);

struct TMessageBoxRecord
{
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Presses `button` on the next QMessageBox, recording what it showed into `record` (may be null).
void AnswerNextMessageBox(QMessageBox::StandardButton button, TMessageBoxRecord *record = nullptr,
                          int timeoutMs = 10000);

// Answers every QMessageBox until the guard is destroyed, appending each to `records` (may be null): with `button`,
// or with what `choose` returns for the box's record (called before the record is appended). Dialogs that are not
// message boxes are not answered.
class TMessageBoxAnswerer
{
public:
    TMessageBoxAnswerer(QMessageBox::StandardButton button, QList<TMessageBoxRecord> *records);
    TMessageBoxAnswerer(std::function<QMessageBox::StandardButton(const TMessageBoxRecord &)> choose,
                        QList<TMessageBoxRecord> *records);
    ~TMessageBoxAnswerer();
    TMessageBoxAnswerer(const TMessageBoxAnswerer &) = delete;
    TMessageBoxAnswerer &operator=(const TMessageBoxAnswerer &) = delete;

private:
    class QTimer *m_timer;
};

} // namespace ModalDriver
