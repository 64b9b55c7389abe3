#pragma once
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// Lets a test answer modal dialogs and message boxes that the code under test opens with exec().
// Arm it before the call that opens the dialog; the answer runs inside that dialog's modal loop.
namespace ModalDriver {

// Runs `answer` on the next modal widget that becomes active (within `timeoutMs`), once.
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

// Answers every QMessageBox with `button` until the returned guard is destroyed, appending each to `records`.
class TMessageBoxAnswerer
{
public:
    TMessageBoxAnswerer(QMessageBox::StandardButton button, QList<TMessageBoxRecord> *records);
    ~TMessageBoxAnswerer();
    TMessageBoxAnswerer(const TMessageBoxAnswerer &) = delete;
    TMessageBoxAnswerer &operator=(const TMessageBoxAnswerer &) = delete;

private:
    class QTimer *m_timer;
};

} // namespace ModalDriver
