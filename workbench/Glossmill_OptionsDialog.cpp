#include "Glossmill_OptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "EditExMP.h"
#include "Glossmill_Misc.h"
#include "TIniFile.h"


const QString TFRMOptions::DefaultGoogleTranslateURL = QStringLiteral(
    "https://translate.google.com/?hl=%SOURCE_LOCALE_CODE%&tab=wT#%SOURCE_LOCALE_CODE%/%TARGET_LOCALE_CODE%/"
    "%TRANSLATED_TEXT%");
const QString TFRMOptions::GeneralSection = QStringLiteral("GENERAL");

TFRMOptions *FRMOptions = nullptr;

bool TOptionsModelSettings::ReplaceWhiteSpaces() const
{
    return FOptions.ReplaceWhiteSpaces;
}

bool TOptionsModelSettings::DoNotWriteBOM() const
{
    return FOptions.DoNotWriteBOM;
}

bool TOptionsModelSettings::KeepWhiteSpaces() const
{
    return FOptions.KeepWhiteSpaces;
}

namespace {

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &caption, int left, int top)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLabel *MakeNote(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    QLabel *label = MakeLabel(parent, name, caption, geometry.left(), geometry.top());
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::gray);
    label->setPalette(p);
    return label;
}

QCheckBox *MakeCheckBox(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    return box;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, QStyle::StandardPixmap glyph,
                        const QRect &geometry)
{
    auto *button = new QPushButton(parent->style()->standardIcon(glyph), caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

} // namespace

TFRMOptions::TFRMOptions(QWidget *parent, QLineEdit *mainLocaleBox, const QString &iniFileName)
    : QDialog(parent)
    , FIniFileName(iniFileName.isEmpty() ? GetIniFileName() : iniFileName)
{
    CreateControls();
    FormCreate(mainLocaleBox);
    ModelSettings::SetProvider(&FModelSettings);
}

TFRMOptions::~TFRMOptions()
{
    ModelSettings::SetProvider(nullptr);
    if (FRMOptions == this)
        FRMOptions = nullptr;
}

void TFRMOptions::CreateControls()
{
    setObjectName(QStringLiteral("FRMOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(505, 468);
    QFont tahoma(QStringLiteral("Tahoma"));
    // Where Tahoma is missing, a condensed face keeps the captions within the fixed layout.
    tahoma.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
    tahoma.setPixelSize(11);
    setFont(tahoma);

    GroupBox1 = new QGroupBox(QStringLiteral(" XML Resource File Save Options "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(14, 16, 293, 85);
    CHBoom = MakeCheckBox(GroupBox1, "CHBoom", QStringLiteral("Do not Write BOM signature "), {12, 28, 189, 17});
    CHBEntityes = MakeCheckBox(GroupBox1, "CHBEntityes",
                               QStringLiteral("Replace whitespaces > 2 chars with Enitity signature "),
                               {207, 12, 269, 17});
    CHBEntityes->setVisible(false);
    CHBKeepWhiteSpc = MakeCheckBox(GroupBox1, "CHBKeepWhiteSpc", QStringLiteral("Keep Whitespaces"),
                                   {12, 51, 205, 17});

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(14, 113, 475, 2);

    Label1 = MakeLabel(this, "Label1", QStringLiteral("Google Translate GET URL:"), 14, 129);
    MURL = new QPlainTextEdit(this);
    MURL->setObjectName(QStringLiteral("MURL"));
    MURL->setGeometry(14, 146, 475, 89);
    MURL->setTabChangesFocus(true);
    Label2 = MakeNote(this, "Label2",
                      QStringLiteral("The %SOURCE_LOCALE_CODE%, %TARGET_LOCALE_CODE% and %TRANSLATED_TEXT% variables "
                                     "will be replaced by source locale code, target locale code and with the "
                                     "translated text."),
                      {14, 241, 475, 32});
    Label6 = MakeNote(this, "Label6",
                      QStringLiteral("Hint: you can change the country domain of the address to the one of your "
                                     "location, for example German users may use translate.google.de instead of "
                                     "translate.google.com."),
                      {14, 279, 475, 36});
    // A face wider than Tahoma may need a third line for the first note: give it the room the second spares.
    const int overflow = Label2->heightForWidth(Label2->width()) - Label2->height();
    const int spare = Label6->height() - Label6->heightForWidth(Label6->width());
    if (overflow > 0 && spare > 0) {
        const int grow = std::min(overflow, spare);
        Label2->resize(Label2->width(), Label2->height() + grow);
        Label6->setGeometry(Label6->geometry().translated(0, grow).adjusted(0, 0, 0, -grow));
    }

    Label3 = MakeLabel(this, "Label3", QStringLiteral("Default Source Locale Code (translation from language):"),
                       14, 331);
    EDDefaultLocaleCode = new QLineEdit(this);
    EDDefaultLocaleCode->setObjectName(QStringLiteral("EDDefaultLocaleCode"));
    EDDefaultLocaleCode->setGeometry(290, 328, 41, 21);

    Label4 = MakeLabel(this, "Label4", QStringLiteral("After Load translation page always scroll down for "), 14, 360);
    EDScrollLines = new TEditExMP(this);
    EDScrollLines->setObjectName(QStringLiteral("EDScrollLines"));
    EDScrollLines->setGeometry(264, 356, 58, 21);
    EDScrollLines->setKind(ekInteger);
    EDScrollLines->setMinValue(0);
    EDScrollLines->setMaxValue(20);
    EDScrollLines->setValue(2);
    EDScrollLines->setStepValue(1);
    EDScrollLines->setMaxLength(0);
    EDScrollLines->setHistoryVisible(true);
    EDScrollLines->setHistoryList({"0", "1", "2", "3", "4", "5", "6"});
    EDScrollLines->setMaxHistoryItems(20);
    EDScrollLines->setHistoryAutoAdd(true);
    EDScrollLines->setEnabled(true);
    Label5 = MakeLabel(this, "Label5", QStringLiteral("lines."), 328, 360);

    BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("OK"), QStyle::SP_DialogOkButton, {14, 424, 97, 33});
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TFRMOptions::BitBtn1Click);
    // Esc and the close box reject as well.
    BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton,
                         {128, 424, 103, 33});
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    QWidget::setTabOrder(CHBoom, CHBEntityes);
    QWidget::setTabOrder(CHBEntityes, CHBKeepWhiteSpc);
    QWidget::setTabOrder(CHBKeepWhiteSpc, BitBtn1);
    QWidget::setTabOrder(BitBtn1, MURL);
    QWidget::setTabOrder(MURL, EDDefaultLocaleCode);
    QWidget::setTabOrder(EDDefaultLocaleCode, BitBtn2);
    QWidget::setTabOrder(BitBtn2, EDScrollLines->EDit());
}

void TFRMOptions::FormCreate(QLineEdit *mainLocaleBox)
{
    ReplaceWhiteSpaces = false;
    DoNotWriteBOM = true;
    KeepWhiteSpaces = true;
    GogleTranslateGetURL = DefaultGoogleTranslateURL;
    DefaultLocaleCode = QStringLiteral("en");
    ScrollLines = 2;
    LoadSettins();
    if (mainLocaleBox)
        mainLocaleBox->setText(DefaultLocaleCode);
}

void TFRMOptions::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TFRMOptions::FormShow()
{
    SetControls();
}

void TFRMOptions::BitBtn1Click()
{
    AcceptSettings();
    if (!SaveSettins())
        QMessageBox::critical(this, QGuiApplication::applicationDisplayName(),
                              TIniFile(FIniFileName).WriteErrorText());
    // The values stay accepted for this run even when they could not be stored.
    accept();
}

void TFRMOptions::LoadSettins()
{
    const TIniFile ini(FIniFileName);
    ReplaceWhiteSpaces = ini.ReadBool(GeneralSection, QStringLiteral("ReplaceWhiteSpaces"), ReplaceWhiteSpaces);
    DoNotWriteBOM = ini.ReadBool(GeneralSection, QStringLiteral("DoNotWriteBOM"), DoNotWriteBOM);
    KeepWhiteSpaces = ini.ReadBool(GeneralSection, QStringLiteral("KeepWhiteSpaces"), KeepWhiteSpaces);
    GogleTranslateGetURL =
        ini.ReadString(GeneralSection, QStringLiteral("GogleTranslateGetURL"), GogleTranslateGetURL);
    DefaultLocaleCode = ini.ReadString(GeneralSection, QStringLiteral("DefaultLocaleCode"), DefaultLocaleCode);
    ScrollLines = ini.ReadInteger(GeneralSection, QStringLiteral("ScrollLines"), ScrollLines);
    SetControls();
}

bool TFRMOptions::SaveSettins()
{
    TIniFile ini(FIniFileName);
    return ini.WriteBool(GeneralSection, QStringLiteral("ReplaceWhiteSpaces"), ReplaceWhiteSpaces) &&
           ini.WriteBool(GeneralSection, QStringLiteral("DoNotWriteBOM"), DoNotWriteBOM) &&
           ini.WriteBool(GeneralSection, QStringLiteral("KeepWhiteSpaces"), KeepWhiteSpaces) &&
           ini.WriteString(GeneralSection, QStringLiteral("GogleTranslateGetURL"), GogleTranslateGetURL) &&
           ini.WriteString(GeneralSection, QStringLiteral("DefaultLocaleCode"), DefaultLocaleCode) &&
           ini.WriteInteger(GeneralSection, QStringLiteral("ScrollLines"), ScrollLines);
}

void TFRMOptions::SetControls()
{
    CHBoom->setChecked(DoNotWriteBOM);
    CHBEntityes->setChecked(ReplaceWhiteSpaces);
    CHBKeepWhiteSpc->setChecked(KeepWhiteSpaces);
    MURL->setPlainText(GogleTranslateGetURL);
    EDDefaultLocaleCode->setText(DefaultLocaleCode);
    EDScrollLines->setValue(ScrollLines); // kept by the control only within its limits
}

void TFRMOptions::AcceptSettings()
{
    DoNotWriteBOM = CHBoom->isChecked();
    ReplaceWhiteSpaces = CHBEntityes->isChecked();
    KeepWhiteSpaces = CHBKeepWhiteSpc->isChecked();
    GogleTranslateGetURL = MURL->toPlainText();
    DefaultLocaleCode = EDDefaultLocaleCode->text();
    int lines = ScrollLines;
    if (EditExMPConvert::ToInteger(EDScrollLines->Value(), &lines))
        ScrollLines = lines;
}

QString TFRMOptions::GetLocCode() const
{
    return DefaultLocaleCode;
}
