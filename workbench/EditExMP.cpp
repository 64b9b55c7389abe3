#include "EditExMP.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QToolButton>
#include <cmath>
#include <limits>
#include <stdexcept>

static void InitWorkbenchResources()
{
    // The workbench is a static library: its pictures are registered on first use.
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace {

constexpr int EditWidth = 28;
constexpr int SpinWidth = 14;
constexpr int HistoryWidth = 16;

QLocale UserLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

bool IsIntegerType(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool InInt32(double d)
{
    return d >= std::numeric_limits<qint32>::min() && d <= std::numeric_limits<qint32>::max();
}

// The number in a printf float conversion, written with the user's decimal separator.
QString FormatOneFloat(const QString &spec, double value)
{
    QString s = QString::asprintf(spec.toLatin1().constData(), value);
    const QString point = UserLocale().decimalPoint();
    if (point != QLatin1String("."))
        s.replace(u'.', point);
    return s;
}

// `format` with its first floating-point conversion (e, f, g) filled with `value`; "%%" gives "%".
QString FormatFloat(const QString &format, double value)
{
    QString out;
    bool used = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%') {
            out += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        while (j < format.size() && QStringLiteral("-+ #0123456789.").contains(format[j]))
            ++j;
        if (j < format.size() && !used && QStringLiteral("eEfFgG").contains(format[j])) {
            out += FormatOneFloat(format.mid(i, j - i + 1), value);
            used = true;
            i = j;
        } else {
            out += format[i]; // not a conversion this control fills
        }
    }
    return out;
}

} // namespace

namespace EditExMPConvert {

bool ToDouble(const QVariant &v, double *out)
{
    bool ok = false;
    double d = 0;
    if (v.typeId() == QMetaType::QString)
        d = UserLocale().toDouble(v.toString().trimmed(), &ok);
    else if (v.isValid())
        d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return false;
    *out = d;
    return true;
}

bool ToInteger(const QVariant &v, int *out)
{
    if (IsIntegerType(v)) {
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
            return false;
        *out = static_cast<int>(n);
        return true;
    }
    double d = 0;
    if (!ToDouble(v, &d))
        return false;
    d = std::nearbyint(d); // halves to the even neighbour
    if (!InInt32(d))
        return false;
    *out = static_cast<int>(d);
    return true;
}

QString ToText(const QVariant &v)
{
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    if (IsIntegerType(v))
        return QString::number(v.toLongLong());
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return UserLocale().toString(v.toDouble(), 'g', 15);
    return v.toString();
}

} // namespace EditExMPConvert

using namespace EditExMPConvert;

TSpinButton::TSpinButton(QWidget *parent)
    : QWidget(parent)
    , FUp(new QToolButton(this))
    , FDown(new QToolButton(this))
{
    const auto setUp = [](QToolButton *b, Qt::ArrowType arrow, const char *name) {
        b->setObjectName(QLatin1String(name));
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(400);
        b->setAutoRepeatInterval(100);
        b->setFocusPolicy(Qt::NoFocus);
    };
    setUp(FUp, Qt::UpArrow, "SPButtonUp");
    setUp(FDown, Qt::DownArrow, "SPButtonDown");
    setFocusPolicy(Qt::NoFocus);
    connect(FUp, &QToolButton::clicked, this, &TSpinButton::UpClick);
    connect(FDown, &QToolButton::clicked, this, &TSpinButton::DownClick);
}

void TSpinButton::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    FUp->setGeometry(0, 0, width(), half);
    FDown->setGeometry(0, half, width(), height() - half);
}

TEditExMP::TEditExMP(QWidget *owner)
    : QWidget(owner)
{
    InitWorkbenchResources();
    HMenu = new QMenu(this);
    HMenu->setObjectName(QStringLiteral("HMenu"));
    resize(58, 21);

    ED = new QLineEdit(this);
    ED->setObjectName(QStringLiteral("ED"));
    ED->installEventFilter(this);
    setFocusProxy(ED);
    connect(qApp, &QApplication::focusChanged, this, &TEditExMP::FocusChanged);

    SPButton = new TSpinButton(this);
    SPButton->setObjectName(QStringLiteral("SPButton"));
    connect(SPButton, &TSpinButton::DownClick, this, &TEditExMP::SpinDownClick);
    connect(SPButton, &TSpinButton::UpClick, this, &TEditExMP::SpinUpClick);

    SBHistory = new QToolButton(this);
    SBHistory->setObjectName(QStringLiteral("SBHistory"));
    SBHistory->setAutoRaise(true);
    SBHistory->setFocusPolicy(Qt::NoFocus);
    SBHistory->setGeometry(EditWidth + SpinWidth - 1, 0, HistoryWidth, 21);
    SBHistory->setIcon(QIcon(QPixmap(QStringLiteral(":/images/history.png"))));
    SBHistory->setIconSize(QSize(14, 16));
    connect(SBHistory, &QToolButton::clicked, this, &TEditExMP::ShowHistoryMenu);

    WriteKind(ekInteger);
    WriteHistoryVisible(true);

    FMaxValue = 0;
    FMinValue = 0;
    FValue = 1;
    FMAxLength = 0;
    FStepVAlue = 1;
    UpdateText();

    FMaxHistoryItems = 20;
    FHistoryAutoAdd = true;
    FColor = ED->palette().color(QPalette::Base);
    StopAddValueToHistory = false;
}

TEditExMP::~TEditExMP()
{
    // The children go after this body; their focus moves must not reach a half-destroyed control.
    disconnect(qApp, nullptr, this, nullptr);
}

void TEditExMP::setParentFont(bool v)
{
    if (v) {
        setFont(QFont());
    } else {
        QFont own = font();
        own.setResolveMask(QFont::AllPropertiesResolved);
        setFont(own);
    }
}

void TEditExMP::PlaceChildren()
{
    ED->setGeometry(0, 0, EditWidth, height());
    const int spin = SPButton->isHidden() ? 0 : SpinWidth;
    SPButton->setGeometry(EditWidth, 0, SpinWidth, height());
    const int w = SBHistory->width();
    if (FHistoryDocked)
        SBHistory->setGeometry(EditWidth + spin, 0, w, height());
    else
        SBHistory->setGeometry(width() - FHistoryRightGap - w, SBHistory->y(), w,
                               height() - FHistoryBottomGap - SBHistory->y());
}

void TEditExMP::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    PlaceChildren();
}

void TEditExMP::WriteKind(TEditExMPKind v)
{
    FKind = v;
    SPButton->setVisible(v != ekText);
    if (FHistoryDocked)
        PlaceChildren();
}

void TEditExMP::WriteHistoryVisible(bool v)
{
    FHistoryVisible = v;
    const int w = v ? HistoryWidth : 0;
    SBHistory->setVisible(v);
    if (FKind == ekText) {
        FHistoryDocked = true;
        SBHistory->resize(w, height());
    } else {
        FHistoryDocked = false;
        SBHistory->setGeometry(EditWidth + SpinWidth, SBHistory->y(), w, SBHistory->height());
        FHistoryRightGap = width() - SBHistory->geometry().right() - 1;
        FHistoryBottomGap = height() - SBHistory->geometry().bottom() - 1;
    }
    PlaceChildren();
}

void TEditExMP::WriteValue(const QVariant &v)
{
    if (!IsValidValue(v))
        return;
    FValue = v;
    UpdateText();
}

void TEditExMP::WriteHistoryList(const QStringList &v)
{
    HList = v;
}

void TEditExMP::WriteColor(const QColor &v)
{
    if (v == FColor)
        return;
    FColor = v;
    QPalette p = ED->palette();
    p.setColor(QPalette::Base, v);
    ED->setPalette(p);
}

void TEditExMP::WriteEnabled(bool v)
{
    FEnabled = v;
    QWidget::setEnabled(v);
    ED->setEnabled(v);
    SPButton->setEnabled(v);
}

void TEditExMP::changeEvent(QEvent *event)
{
    // QWidget's own setter on the control counts as a write too. A disabled container changes the control's state
    // without being a write: taking it for one would disable the control for good.
    if (event->type() == QEvent::EnabledChange) {
        const bool own = !testAttribute(Qt::WA_ForceDisabled);
        if (own != FEnabled) {
            FEnabled = own;
            ED->setEnabled(own);
            SPButton->setEnabled(own);
        }
    }
    QWidget::changeEvent(event);
}

void TEditExMP::UpdateText()
{
    double d = 0;
    if (FKind == ekFloat && !FFloatFormat.isEmpty() && ToDouble(FValue, &d))
        ED->setText(FormatFloat(FFloatFormat, d));
    else
        ED->setText(ToText(FValue));
}

bool TEditExMP::IsValidValue(const QVariant &candidate) const
{
    double number = 0, lo = 0, hi = 0;
    switch (FKind) {
    case ekText:
        return FMAxLength <= 0 || ToText(candidate).size() <= FMAxLength;
    case ekFloat:
        if (!ToDouble(candidate, &number) || !ToDouble(FMinValue, &lo) || !ToDouble(FMaxValue, &hi))
            return false;
        return lo == hi || (lo <= number && number <= hi);
    case ekInteger: {
        if (!ToDouble(candidate, &number))
            return false;
        const bool loOk = ToDouble(FMinValue, &lo);
        const bool hiOk = ToDouble(FMaxValue, &hi);
        if (loOk && hiOk ? lo == hi : ToText(FMinValue) == ToText(FMaxValue))
            return true;
        if (!loOk || !hiOk)
            return false;
        const double rounded = std::nearbyint(number);
        return lo <= rounded && rounded <= hi;
    }
    }
    return false;
}

void TEditExMP::CommitText()
{
    bool failed = false;
    try {
        const QString text = ED->text();
        if (IsValidValue(text)) {
            if (FKind == ekInteger) {
                bool ok = false;
                const int whole = UserLocale().toInt(text.trimmed(), &ok);
                if (!ok)
                    throw std::invalid_argument("not a whole number");
                FValue = whole;
            } else {
                FValue = text;
            }
            if (FOnValueChanged)
                FOnValueChanged(this, FValue);
            if (!StopAddValueToHistory && FHistoryAutoAdd) {
                while (HList.size() >= FMaxHistoryItems && !HList.isEmpty())
                    HList.removeFirst();
                if (FMaxHistoryItems > 0)
                    HList.append(text);
            }
        }
    } catch (...) {
        failed = true;
    }
    if (failed && FOnIncorectValue)
        FOnIncorectValue(this, FValue);
    UpdateText();
}

void TEditExMP::EditExit()
{
    CommitText();
    if (FOnExit)
        FOnExit(this);
}

bool TEditExMP::EditKeyPress(QChar key)
{
    const ushort c = key.unicode();
    if (c == 13) {
        CommitText();
        return true;
    }
    const bool digitOrSign = (c >= '0' && c <= '9') || c == '-' || c == '+' || c == 8;
    switch (FKind) {
    case ekFloat:
        return digitOrSign || QString(key) == UserLocale().decimalPoint();
    case ekInteger:
        return digitOrSign;
    case ekText:
        return c == 8 || FMAxLength <= 0 || ED->text().size() < FMAxLength;
    }
    return true;
}

bool TEditExMP::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != ED)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            EditKeyPress(QChar(13));
            return false; // passed on, so a dialog's default button still fires
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            return false; // keys for the window or the box, not typed characters
        default:
            break;
        }
        const QString text = key->text();
        if (text.size() != 1)
            return false;
        return !EditKeyPress(text[0]);
    }
    default:
        return false;
    }
}

void TEditExMP::FocusChanged(QWidget *, QWidget *now)
{
    // Entering and leaving are moves of the focus between widgets: the program losing the focus, or a menu
    // popping up over the box, is neither.
    if (!now || (now->window()->windowType() == Qt::Popup))
        return;
    if (now == ED && !FInside) {
        FInside = true;
        if (FOnEnter)
            FOnEnter(this);
    } else if (now != ED && FInside) {
        FInside = false;
        EditExit();
    }
}

void TEditExMP::Spin(int sign)
{
    QVariant candidate;
    bool ok = false;
    if (FKind == ekFloat) {
        double step = 0, value = 0;
        ok = ToDouble(FStepVAlue, &step) && ToDouble(FValue, &value);
        candidate = value + sign * step;
    } else if (FKind == ekInteger) {
        int step = 0, value = 0;
        ok = ToInteger(FStepVAlue, &step) && ToInteger(FValue, &value);
        const qint64 sum = qint64(value) + sign * qint64(step);
        ok = ok && InInt32(double(sum));
        candidate = int(sum);
    } else {
        return;
    }
    if (ok && IsValidValue(candidate)) {
        FValue = candidate;
        UpdateText();
        if (FOnValueChanged)
            FOnValueChanged(this, FValue);
    } else if (FOnIncorectValue) {
        FOnIncorectValue(this, FValue);
    }
}

void TEditExMP::SpinUpClick()
{
    Spin(+1);
}

void TEditExMP::SpinDownClick()
{
    Spin(-1);
}

void TEditExMP::ShowHistoryMenu()
{
    HMenu->clear();
    for (const QString &entry : std::as_const(HList)) {
        // "&&" keeps an ampersand in a path from turning into an accelerator.
        QAction *item = HMenu->addAction(QString(entry).replace(u'&', QLatin1String("&&")));
        item->setData(entry);
        connect(item, &QAction::triggered, this, [this, item] { HistoryItemClick(item); });
    }
    HMenu->popup(mapToGlobal(QPoint(0, height())));
}

void TEditExMP::HistoryItemClick(QAction *item)
{
    const QString caption = item->data().isValid() ? item->data().toString() : item->text();
    if (IsValidValue(caption))
        FValue = caption;
    UpdateText();
    struct TClearStop
    {
        bool &flag;
        ~TClearStop() { flag = false; }
    } clear{StopAddValueToHistory};
    StopAddValueToHistory = true;
    CommitText();
}
