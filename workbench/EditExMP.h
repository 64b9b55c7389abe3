#pragma once
#include <QColor>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <functional>

class QAction;
class QLineEdit;
class QMenu;
class QToolButton;

enum TEditExMPKind { ekText = 0, ekFloat = 1, ekInteger = 2 };

class TEditExMP;

// Sender is the control, Value its current value.
using TValueNotify = std::function<void(TEditExMP *Sender, const QVariant &Value)>;
using TNotifyEvent = std::function<void(QObject *Sender)>;

// Conversions of the control's variant values; texts follow the user's locale (QLocale()).
namespace EditExMPConvert {
bool ToDouble(const QVariant &v, double *out); // false when a text is not a number
bool ToInteger(const QVariant &v, int *out);   // rounds halves to even; false outside 32 bits
QString ToText(const QVariant &v);
} // namespace EditExMPConvert

// An up and a down arrow that repeat while held (400 ms, then every 100 ms) and never take the focus.
class TSpinButton : public QWidget
{
    Q_OBJECT
public:
    explicit TSpinButton(QWidget *parent = nullptr);
    QToolButton *UpButton() const { return FUp; }
    QToolButton *DownButton() const { return FDown; }

signals:
    void UpClick();
    void DownClick();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QToolButton *FUp;
    QToolButton *FDown;
};

// One value of text, decimal or integer kind: an edit box, spin arrows and a drop-down history of taken values.
class TEditExMP : public QWidget
{
    Q_OBJECT
public:
    explicit TEditExMP(QWidget *owner = nullptr);
    ~TEditExMP() override;

    TEditExMPKind Kind() const { return FKind; }
    void setKind(TEditExMPKind v) { WriteKind(v); }
    bool HistoryVisible() const { return FHistoryVisible; }
    void setHistoryVisible(bool v) { WriteHistoryVisible(v); }
    TValueNotify OnValueChanged() const { return FOnValueChanged; }
    void setOnValueChanged(TValueNotify v) { FOnValueChanged = std::move(v); }
    TValueNotify OnIncorectValue() const { return FOnIncorectValue; }
    void setOnIncorectValue(TValueNotify v) { FOnIncorectValue = std::move(v); }
    TNotifyEvent OnEnter() const { return FOnEnter; }
    void setOnEnter(TNotifyEvent v) { FOnEnter = std::move(v); } // the sender is the control
    TNotifyEvent OnExit() const { return FOnExit; }
    void setOnExit(TNotifyEvent v) { FOnExit = std::move(v); }
    QVariant MaxValue() const { return FMaxValue; }
    void setMaxValue(const QVariant &v) { WriteMaxValue(v); }
    QVariant MinValue() const { return FMinValue; }
    void setMinValue(const QVariant &v) { WriteMinValue(v); }
    QVariant Value() const { return FValue; }
    void setValue(const QVariant &v) { WriteValue(v); } // an invalid value is ignored
    int MaxLength() const { return FMAxLength; }
    void setMaxLength(int v) { FMAxLength = v; }
    QVariant StepValue() const { return FStepVAlue; }
    void setStepValue(const QVariant &v) { FStepVAlue = v; }
    QStringList HistoryList() const { return HList; }
    void setHistoryList(const QStringList &v) { WriteHistoryList(v); }
    int MaxHistoryItems() const { return FMaxHistoryItems; }
    void setMaxHistoryItems(int v) { FMaxHistoryItems = v; } // 0 or less: the history keeps nothing
    bool HistoryAutoAdd() const { return FHistoryAutoAdd; }
    void setHistoryAutoAdd(bool v) { FHistoryAutoAdd = v; }
    QColor Color() const { return FColor; }
    void setColor(const QColor &v) { WriteColor(v); }
    bool Enabled() const { return FEnabled; } // true until written
    void setEnabled(bool v) { WriteEnabled(v); }
    int Tag() const { return FTag; }
    void setTag(int v) { FTag = v; }
    bool Visible() const { return !isHidden(); }
    QString FloatFormat() const { return FFloatFormat; }
    void setFloatFormat(const QString &v) { FFloatFormat = v; } // printf style, one floating-point argument
    bool ParentFont() const { return !testAttribute(Qt::WA_SetFont); }
    void setParentFont(bool v);
    QLineEdit *EDit() const { return ED; }

    // Internal handlers, public so that the dialog's tests can drive them the way the user would.
    void UpdateText();
    bool IsValidValue(const QVariant &candidate) const;
    void CommitText();
    void EditExit();
    bool EditKeyPress(QChar key); // false when the character is dropped
    void SpinUpClick();
    void SpinDownClick();
    void ShowHistoryMenu();
    void HistoryItemClick(QAction *item);

    QMenu *HistoryMenu() const { return HMenu; }

protected:
    void WriteKind(TEditExMPKind v);
    void WriteHistoryVisible(bool v);
    void WriteMaxValue(const QVariant &v) { FMaxValue = v; }
    void WriteMinValue(const QVariant &v) { FMinValue = v; }
    void WriteValue(const QVariant &v);
    void WriteHistoryList(const QStringList &v);
    void WriteColor(const QColor &v);
    void WriteEnabled(bool v);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Spin(int sign);
    void FocusChanged(QWidget *old, QWidget *now);
    void PlaceChildren();

    QString FFloatFormat;
    QLineEdit *ED = nullptr;
    TSpinButton *SPButton = nullptr;
    QToolButton *SBHistory = nullptr;
    QStringList HList;
    QMenu *HMenu = nullptr;
    TEditExMPKind FKind = ekInteger;
    bool FHistoryVisible = true;
    TValueNotify FOnValueChanged;
    TValueNotify FOnIncorectValue;
    QVariant FMinValue;
    QVariant FMaxValue;
    QVariant FValue;
    QVariant FStepVAlue;
    int FMAxLength = 0;
    TNotifyEvent FOnEnter;
    TNotifyEvent FOnExit;
    int FMaxHistoryItems = 20;
    bool FHistoryAutoAdd = true;
    QColor FColor;
    bool StopAddValueToHistory = false;
    bool FEnabled = true;
    int FTag = 0;
    // The history button either follows the edit box and the arrows, or keeps its distance to the right edge.
    bool FHistoryDocked = false;
    bool FInside = false; // the focus is in the box, for OnEnter and leaving
    int FHistoryRightGap = 0;
    int FHistoryBottomGap = 0;
};
