#include "Glossmill_EditDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include "GlossmillResources.h"

TFEditTranslation *FEditTranslation = nullptr;

namespace {

QWidget *Strip(QWidget *parent, const char *name, int height)
{
    auto *w = new QWidget(parent);
    w->setObjectName(name);
    if (height > 0)
        w->setFixedHeight(height);
    return w;
}

QTextEdit *TextBox(QWidget *parent, const char *name)
{
    auto *box = new QTextEdit(parent);
    box->setObjectName(name);
    QFont font("Tahoma");
    font.setPixelSize(13);
    box->setFont(font);
    // A translation is plain text: pasted formatting would be lost on save anyway.
    box->setAcceptRichText(false);
    box->setTabChangesFocus(false);
    return box;
}

QPushButton *DialogButton(QWidget *parent, const char *name, const QString &caption, const char *icon, int left)
{
    auto *b = new QPushButton(QIcon(icon), caption, parent);
    b->setObjectName(name);
    b->setGeometry(left, 13, 89, 30);
    return b;
}

} // namespace

TFEditTranslation::TFEditTranslation(QWidget *parent) : QDialog(parent)
{
    InitGlossmillResources();
    setObjectName("FEditTranslation");
    setWindowTitle("Translation");
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont font("Tahoma");
    font.setPixelSize(11);
    setFont(font);
    resize(475, 343);

    Panel2 = Strip(this, "Panel2", 35);
    CheckBox1 = new QCheckBox("Word Wrap", Panel2);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setChecked(true);
    CheckBox1->move(5, 9);
    CheckBox1->adjustSize();
    Label1 = new QLabel("Default text", Panel2);
    Label1->setObjectName("Label1");
    Label1->move(204, 11);
    Label1->adjustSize();

    Panel3 = Strip(this, "Panel3", 0);
    Panel3->setFixedWidth(5);
    Panel4 = Strip(this, "Panel4", 0);
    Panel4->setFixedWidth(5);
    Panel6 = Strip(this, "Panel6", 0);
    RESource = TextBox(Panel6, "RESource");
    RESource->setReadOnly(true);
    // A grey that reads at 5.3:1 on white; the classic light grey reads at 2.6:1.
    QPalette grey = RESource->palette();
    grey.setColor(QPalette::Text, QColor(0x6D, 0x6D, 0x6D));
    RESource->setPalette(grey);
    Panel5 = new QLabel("Translated text", Panel6);
    Panel5->setObjectName("Panel5");
    Panel5->setFixedHeight(19);
    RE = TextBox(Panel6, "RE");
    RE->setFixedHeight(123);

    auto *middle = new QVBoxLayout(Panel6);
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    middle->addWidget(RESource, 1);
    middle->addWidget(Panel5);
    middle->addWidget(RE);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(Panel3);
    row->addWidget(Panel6, 1);
    row->addWidget(Panel4);

    Panel1 = Strip(this, "Panel1", 56);
    BitBtn1 = DialogButton(Panel1, "BitBtn1", "OK", ":/images/ok.png", 16);
    BitBtn2 = DialogButton(Panel1, "BitBtn2", "Cancel", ":/images/cancel.png", 111);
    BitBtn1->setDefault(true); // Enter outside the text boxes; inside them it breaks the line
    BitBtn2->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(Panel2);
    column->addLayout(row, 1);
    column->addWidget(Panel1);

    connect(CheckBox1, &QCheckBox::clicked, this, &TFEditTranslation::CheckBox1Click);
    CheckBox1Click();
}

void TFEditTranslation::Fill(const QString &translation, const QString &defaultText)
{
    RE->setPlainText(translation);
    RESource->setPlainText(defaultText);
    RE->moveCursor(QTextCursor::End);
}

QString TFEditTranslation::Translation() const
{
    // toPlainText() would turn non-breaking spaces into plain ones and so change the translation.
    QString text = RE->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void TFEditTranslation::CheckBox1Click()
{
    const bool wrap = CheckBox1->isChecked();
    for (QTextEdit *box : {RE, RESource}) {
        box->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
        const Qt::ScrollBarPolicy bars = wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn;
        box->setHorizontalScrollBarPolicy(bars);
        box->setVerticalScrollBarPolicy(bars);
    }
}

void TFEditTranslation::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Centred over the main window, which need not be the parent.
    const QWidget *over = parentWidget() ? parentWidget()->window() : nullptr;
    if (!over)
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && w->objectName() == QLatin1String("GlossmillMainForm"))
                over = w;
    if (over)
        move(over->frameGeometry().center() - rect().center());
    RE->setFocus();
}
