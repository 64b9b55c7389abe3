#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrlQuery>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>
#include <memory>
#include <optional>

#include "Glossmill_LocaleConst.h"
#include "Glossmill_MainForm.h"
#include "Glossmill_OptionsDialog.h"
#include "Glossmill_SelectLangDialog.h"
#include "Glossmill_types.h"
#include "LocaleListRows.h"
#include "ModalDriver.h"
#include "TTranslateItem.h"
#include "TestSupport.h"
#include "TranslateURL.h"
#include "WorkbenchTestHome.h"

namespace {

const QString DefaultPath = QStringLiteral("?hl=%SOURCE_LOCALE_CODE%&tab=wT#%SOURCE_LOCALE_CODE%/"
                                           "%TARGET_LOCALE_CODE%/%TRANSLATED_TEXT%");

// ---------------------------------------------------------------------------------------------------------------
// Filling the address template

struct TFillCase
{
    const char *name;
    QString templ;
    QString source, target, text;
    QString expected;
};

void PrintTo(const TFillCase &c, std::ostream *os)
{
    *os << c.name;
}

class FillTranslateURLTest : public ::testing::TestWithParam<TFillCase>
{
};

TEST_P(FillTranslateURLTest, FillsAsTheTranslatorExpects)
{
    const TFillCase &c = GetParam();
    EXPECT_EQ(FillTranslateURL(c.templ, c.source, c.target, c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, FillTranslateURLTest,
    ::testing::Values(
        TFillCase{"DefaultTemplateBothSourcesReplaced", "https://t.example/" + DefaultPath, "de", "pt-BR", "Hello",
                  "https://t.example/?hl=de&tab=wT#de/pt-BR/Hello"},
        TFillCase{"SourceInAnyCaseEveryTime", "x/%source_locale_code%/%Source_Locale_Code%/%SOURCE_LOCALE_CODE%",
                  "de", "fr", "t", "x/de/de/de"},
        TFillCase{"LowerCaseTargetAndTextStay", "x/%target_locale_code%/%translated_text%", "de", "fr", "t",
                  "x/%target_locale_code%/%translated_text%"},
        TFillCase{"OnlyFirstTargetAndText", "x/%TARGET_LOCALE_CODE%/%TRANSLATED_TEXT%#%TARGET_LOCALE_CODE%/"
                                            "%TRANSLATED_TEXT%",
                  "de", "fr", "t", "x/fr/t#%TARGET_LOCALE_CODE%/%TRANSLATED_TEXT%"},
        TFillCase{"PlaceholdersInTheTextStay", "x#%TRANSLATED_TEXT%/%TARGET_LOCALE_CODE%", "de", "fr",
                  "%SOURCE_LOCALE_CODE% %TARGET_LOCALE_CODE%", "x#%SOURCE_LOCALE_CODE% %TARGET_LOCALE_CODE%/fr"},
        TFillCase{"CodesGoInAsTheyAre", "x?a=%SOURCE_LOCALE_CODE%&b=%TARGET_LOCALE_CODE%", " d e", "f&r", "t",
                  "x?a= d e&b=f&r"},
        TFillCase{"TextInFragmentUnencoded", "x#%TRANSLATED_TEXT%", "de", "fr", "Tom & Jerry #1 / 100% \u00fc",
                  "x#Tom & Jerry #1 / 100% \u00fc"},
        // Raw, these would end the text at "&" or move the rest into the fragment.
        TFillCase{"TextInQueryKeepsItsHashAndAmpersand", "x?q=%TRANSLATED_TEXT%&sl=%SOURCE_LOCALE_CODE%#top", "de",
                  "fr", "Tom & Jerry #1", "x?q=Tom %26 Jerry %231&sl=de#top"},
        TFillCase{"EmptyText", "x#%TRANSLATED_TEXT%", "de", "fr", "", "x#"},
        TFillCase{"NoPlaceholders", "https://t.example/", "de", "fr", "t", "https://t.example/"}),
    [](const ::testing::TestParamInfo<TFillCase> &info) { return std::string(info.param.name); });

TEST(WebLocaleCodeTest, CodeAndRegionJoinedByDash)
{
    TLocaleDesc af{"Afrikaans", "af", "", "values-af", "", 0};
    TLocaleDesc ptBR{"Portuguese (Brazil)", "pt", "BR", "values-pt-rBR", "", 0};
    EXPECT_EQ(WebLocaleCode(af), "af");
    EXPECT_EQ(WebLocaleCode(ptBR), "pt-BR");
}

// ---------------------------------------------------------------------------------------------------------------
// The pane in the main window

const QByteArray Strings = R"(<?xml version="1.0" encoding="utf-8"?>
<resources>
    <string name="hello">Tom &amp; Jerry #1</string>
    <string name="morning">Good morning</string>
    <string name="dots">dots</string>
</resources>
)";

const QByteArray TallPage =
    "<html><body style=\"margin:0\"><div style=\"height:6000px\">top</div>"
    "<a id=\"next\" href=\"other.html\">next</a></body></html>";

class WebTranslatorTest : public ::testing::Test
{
protected:
    TTestHome Home;
    QTemporaryDir Work;
    std::unique_ptr<TGlossmillMainForm> Form = std::make_unique<TGlossmillMainForm>();
    std::unique_ptr<TFRMOptions> Options;
    std::unique_ptr<TFormSelectLang> SelectLang;
    QString Project;
    QString Page;

    void SetUp() override
    {
        Options = std::make_unique<TFRMOptions>(Form.get(), Form->EDDefaultLocaleCode, Work.path() + "/none.ini");
        FRMOptions = Options.get();
        SelectLang = std::make_unique<TFormSelectLang>(Form.get());
        FormSelectLang = SelectLang.get();

        Page = Work.path() + "/pages/tall.html";
        ASSERT_TRUE(TestSupport::WriteFile(Page, TallPage));
        ASSERT_TRUE(TestSupport::WriteFile(Work.path() + "/pages/other.html", TallPage));
        Options->GogleTranslateGetURL = PageUrl() + DefaultPath;

        Project = Work.path() + "/proj";
        ASSERT_TRUE(TestSupport::WriteFile(Project + "/AndroidManifest.xml",
                                           "<manifest package=\"org.example.web\"/>"));
        for (const char *folder : {"values", "values-pt-rBR", "values-af", "values-de"})
            ASSERT_TRUE(TestSupport::WriteFile(Project + "/res/" + folder + "/strings.xml", Strings));
        Form->resize(1100, 800);
        Form->show();
        Form->OpenProject(Project + "/");
        ASSERT_FALSE(Form->PackageName.isEmpty());
    }
    void TearDown() override
    {
        FormSelectLang = nullptr;
        FRMOptions = nullptr;
    }

    QString PageUrl() const { return QUrl::fromLocalFile(Page).toString(); }

    // The tree node of the language whose code is `code`: the language itself, its values group, or its file.
    QTreeWidgetItem *Node(const QString &code, int depth = 2) const
    {
        for (QTreeWidgetItemIterator it(Form->TVProject); *it; ++it)
            if (auto *lang = dynamic_cast<TTransLangNode *>(TGlossmillMainForm::NodeData(*it)))
                if (WebLocaleCode(lang->LocaleDesc) == code) {
                    QTreeWidgetItem *node = *it;
                    for (int i = 0; i < depth && node; ++i)
                        node = node->child(0);
                    return node;
                }
        return nullptr;
    }
    void ShowFile(const QString &code)
    {
        QTreeWidgetItem *file = Node(code);
        ASSERT_NE(file, nullptr) << code.toStdString();
        Form->TVProject->setCurrentItem(file);
        ASSERT_EQ(Form->SelectedFileNode(), TGlossmillMainForm::NodeData(file));
    }
    QTreeWidgetItem *Row(const QString &id) const
    {
        for (int i = 0; i < Form->LV->topLevelItemCount(); ++i)
            if (Form->LV->topLevelItem(i)->text(1) == id)
                return Form->LV->topLevelItem(i);
        return nullptr;
    }
    void SelectRow(const QString &id)
    {
        QTreeWidgetItem *row = Row(id);
        ASSERT_NE(row, nullptr) << id.toStdString();
        Form->LV->setCurrentItem(row);
    }
    QUrl Requested() const { return Form->WBGoogle->page()->requestedUrl(); }
    // The requested address with its query and fragment as the page reads them back, every escape undone.
    QString RequestedText() const
    {
        const QUrl url = Requested();
        return url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment).toString() + "?" +
               url.query(QUrl::FullyDecoded) + "#" + url.fragment(QUrl::FullyDecoded);
    }
    QString Expected(const QString &source, const QString &target, const QString &text) const
    {
        return PageUrl() + "?hl=" + source + "&tab=wT#" + source + "/" + target + "/" + text;
    }
    // Waits for the view's next finished load and gives its result.
    bool WaitLoaded(QSignalSpy &spy)
    {
        if (!spy.wait(20000))
            return false;
        return spy.takeFirst().at(0).toBool();
    }
    int ScrollY()
    {
        auto y = std::make_shared<std::optional<int>>();
        Form->WBGoogle->page()->runJavaScript(QStringLiteral("window.scrollY"),
                                              [y](const QVariant &v) { *y = v.toInt(); });
        EXPECT_TRUE(QTest::qWaitFor([y] { return y->has_value(); }, 10000));
        return y->value_or(-1);
    }
};

TEST_F(WebTranslatorTest, AutoTakesTheCodeOfTheShownLanguage)
{
    ASSERT_TRUE(Form->CHAutoLocale->isChecked());
    EXPECT_FALSE(Form->EDTargetLocale->isEnabled());
    EXPECT_FALSE(Form->SBSelectTargetLocale->isEnabled());
    const struct
    {
        const char *code;
    } cases[] = {{"pt-BR"}, {"af"}, {"de"}};
    for (const auto &c : cases) {
        ShowFile(c.code);
        EXPECT_EQ(Form->EDTargetLocale->text(), c.code);
        SelectRow("morning");
        Form->BLoadTrans->click();
        EXPECT_EQ(RequestedText(), Expected("en", c.code, "Good morning")) << c.code;
    }
    // A language node fills the box as well.
    Form->TVProject->setCurrentItem(Node("pt-BR", 0));
    EXPECT_EQ(Form->EDTargetLocale->text(), "pt-BR");
}

TEST_F(WebTranslatorTest, WithoutAutoATypedCodeStaysAndABlankOneIsFilled)
{
    Form->CHAutoLocale->click();
    EXPECT_TRUE(Form->EDTargetLocale->isEnabled());
    EXPECT_TRUE(Form->SBSelectTargetLocale->isEnabled());
    Form->EDTargetLocale->setText("zh-CN");
    for (const char *code : {"af", "pt-BR"}) {
        ShowFile(code);
        EXPECT_EQ(Form->EDTargetLocale->text(), "zh-CN");
        SelectRow("dots");
        Form->TranslateInWeb();
        EXPECT_EQ(RequestedText(), Expected("en", "zh-CN", "dots")) << code;
    }
    Form->EDTargetLocale->setText(" \t");
    Form->TranslateInWeb();
    EXPECT_EQ(Form->EDTargetLocale->text(), "pt-BR");
    EXPECT_EQ(RequestedText(), Expected("en", "pt-BR", "dots"));
}

TEST_F(WebTranslatorTest, SourceCodeFromTheBoxThenTheOptionsThenEn)
{
    ShowFile("af");
    SelectRow("dots");
    const struct
    {
        QString box, option, used, boxAfter;
    } cases[] = {
        {"de", "fr", "de", "de"},
        {"", "fr", "fr", "fr"},
        {"  ", "it", "it", "it"},
        {"", "", "en", ""},
        {"", " ", "en", " "},
    };
    for (const auto &c : cases) {
        Form->EDDefaultLocaleCode->setText(c.box);
        Options->DefaultLocaleCode = c.option;
        Form->TranslateInWeb();
        EXPECT_EQ(RequestedText(), Expected(c.used, "af", "dots")) << c.box.toStdString() << "|" << c.option.toStdString();
        EXPECT_EQ(Form->EDDefaultLocaleCode->text(), c.boxAfter);
    }
}

TEST_F(WebTranslatorTest, TextGoesInTrimmedAndUnencoded)
{
    ShowFile("de");
    SelectRow("hello");
    ItemOfRow(Form->LV->currentItem())->FBaseValue = "\t Tom & Jerry #1 \x01\n";
    Form->TranslateInWeb();
    const QUrl url = Requested();
    EXPECT_EQ(RequestedText(), Expected("en", "de", "Tom & Jerry #1"));
    EXPECT_EQ(url.fragment(QUrl::FullyDecoded), "en/de/Tom & Jerry #1");
    EXPECT_EQ(url.query(QUrl::FullyDecoded), "hl=en&tab=wT");
}

TEST_F(WebTranslatorTest, TextInTheQueryArrivesWhole)
{
    Options->GogleTranslateGetURL = PageUrl() + "?q=%TRANSLATED_TEXT%&sl=%SOURCE_LOCALE_CODE%";
    ShowFile("de");
    SelectRow("hello");
    Form->TranslateInWeb();
    const QUrlQuery query(Requested());
    EXPECT_EQ(query.queryItemValue("q", QUrl::FullyDecoded), "Tom & Jerry #1");
    EXPECT_EQ(query.queryItemValue("sl", QUrl::FullyDecoded), "en");
    EXPECT_TRUE(Requested().fragment().isEmpty());
}

TEST_F(WebTranslatorTest, NothingWithoutARowOrAFileNode)
{
    const QUrl before = Requested();
    ShowFile("de");
    Form->LV->setCurrentItem(nullptr);
    Form->TranslateInWeb();
    EXPECT_EQ(Requested(), before);
    EXPECT_FALSE(Form->EnableScrollWebPage);
    SelectRow("dots");
    Form->TVProject->setCurrentItem(Node("de", 1));
    Form->TranslateInWeb();
    EXPECT_EQ(Requested(), before);
    EXPECT_FALSE(Form->EnableScrollWebPage);
}

TEST_F(WebTranslatorTest, AutomaticRefreshFollowsTheRowSelection)
{
    ShowFile("de");
    SelectRow("dots");
    EXPECT_TRUE(Requested().isEmpty()) << "no refresh while unchecked";
    Form->CHBUseWebTranslator->click();
    SelectRow("morning");
    EXPECT_EQ(RequestedText(), Expected("en", "de", "Good morning"));
    SelectRow("hello");
    EXPECT_EQ(RequestedText(), Expected("en", "de", "Tom & Jerry #1"));

    // A row whose default text is blank still asks for the page, with no text.
    ItemOfRow(Row("dots"))->FBaseValue = "   ";
    SelectRow("dots");
    EXPECT_FALSE(Form->BLoadTrans->isEnabled());
    EXPECT_EQ(RequestedText(), Expected("en", "de", ""));
}

// One user change of the list, done on a list of 300 rows with "Automatically Refresh Translation" checked.
struct TListChangeCase
{
    const char *name;
    std::function<void(TGlossmillMainForm *)> change;
    int minRequests, maxRequests;
};

void PrintTo(const TListChangeCase &c, std::ostream *os)
{
    *os << c.name;
}

class ListChangeRequestTest : public WebTranslatorTest, public ::testing::WithParamInterface<TListChangeCase>
{
};

QPoint CellPoint(QTreeWidget *lv, QTreeWidgetItem *row, int column)
{
    return QPoint(lv->header()->sectionViewportPosition(column) + 5, lv->visualItemRect(row).center().y());
}

TEST_P(ListChangeRequestTest, AsksForAtMostOnePage)
{
    QByteArray strings = "<resources>\n";
    for (int i = 0; i < 300; ++i)
        strings += QStringLiteral("<string name=\"s%1\">Text %2</string>\n").arg(i, 3, 10, QChar('0')).arg(299 - i).toUtf8();
    strings += "</resources>\n";
    for (const char *folder : {"values", "values-de"})
        ASSERT_TRUE(TestSupport::WriteFile(Project + "/res/" + folder + "/strings.xml", strings));
    Form->OpenProject(Project + "/");
    ShowFile("de");
    ASSERT_EQ(Form->LV->topLevelItemCount(), 300);
    Form->CHBUseWebTranslator->click();
    SelectRow("s150");
    QCoreApplication::processEvents();

    QSignalSpy requests(Form.get(), &TGlossmillMainForm::TranslatorPageRequested);
    GetParam().change(Form.get());
    QCoreApplication::processEvents();
    EXPECT_GE(requests.size(), GetParam().minRequests);
    EXPECT_LE(requests.size(), GetParam().maxRequests);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ListChangeRequestTest,
    ::testing::Values(
        TListChangeCase{"SortByID",
                        [](TGlossmillMainForm *f) {
                            QTest::mouseClick(f->LV->header()->viewport(), Qt::LeftButton, Qt::NoModifier,
                                              QPoint(f->LV->header()->sectionViewportPosition(1) + 5, 5));
                        },
                        0, 1},
        TListChangeCase{"SortByDefaultText",
                        [](TGlossmillMainForm *f) {
                            QTest::mouseClick(f->LV->header()->viewport(), Qt::LeftButton, Qt::NoModifier,
                                              QPoint(f->LV->header()->sectionViewportPosition(2) + 5, 5));
                        },
                        0, 1},
        TListChangeCase{"ClickOnAnotherRow",
                        [](TGlossmillMainForm *f) {
                            QTreeWidgetItem *row = f->LV->topLevelItem(f->LV->indexOfTopLevelItem(f->LV->currentItem()) + 1);
                            f->LV->scrollToItem(row);
                            QTest::mouseClick(f->LV->viewport(), Qt::LeftButton, Qt::NoModifier, CellPoint(f->LV, row, 1));
                        },
                        1, 1},
        TListChangeCase{"KeyDown",
                        [](TGlossmillMainForm *f) {
                            f->LV->setFocus();
                            QTest::keyClick(f->LV, Qt::Key_Down);
                        },
                        1, 1}),
    [](const ::testing::TestParamInfo<TListChangeCase> &info) { return std::string(info.param.name); });

class WebTranslatorScrollTest : public WebTranslatorTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(WebTranslatorScrollTest, LoadedPageScrolledOnceByScrollLines)
{
    Options->ScrollLines = GetParam();
    ShowFile("pt-BR");
    SelectRow("morning");
    QSignalSpy loaded(Form->WBGoogle, &QWebEngineView::loadFinished);
    Form->BLoadTrans->click();
    EXPECT_TRUE(Form->EnableScrollWebPage);
    ASSERT_TRUE(WaitLoaded(loaded));
    EXPECT_FALSE(Form->EnableScrollWebPage);
    EXPECT_EQ(ScrollY(), GetParam());

    // A link followed in the pane loads a page that stays at its top.
    Form->WBGoogle->page()->runJavaScript("document.getElementById('next').click();");
    ASSERT_TRUE(WaitLoaded(loaded));
    EXPECT_TRUE(Form->WBGoogle->url().toString().endsWith("other.html"));
    EXPECT_EQ(ScrollY(), 0);
}

INSTANTIATE_TEST_SUITE_P(Amounts, WebTranslatorScrollTest, ::testing::Values(2, 37));

TEST_F(WebTranslatorTest, AFailedRequestLeavesTheScrollForTheNextPage)
{
    Options->ScrollLines = 11;
    Options->GogleTranslateGetURL = QUrl::fromLocalFile(Work.path() + "/missing.html").toString() + DefaultPath;
    ShowFile("af");
    SelectRow("morning");
    QSignalSpy loaded(Form->WBGoogle, &QWebEngineView::loadFinished);
    Form->TranslateInWeb();
    EXPECT_FALSE(WaitLoaded(loaded));
    EXPECT_TRUE(Form->EnableScrollWebPage);

    Form->WBGoogle->load(QUrl::fromLocalFile(Page));
    ASSERT_TRUE(WaitLoaded(loaded));
    EXPECT_FALSE(Form->EnableScrollWebPage);
    EXPECT_EQ(ScrollY(), 11);
}

TEST_F(WebTranslatorTest, ARequestThatLoadsNoNewPageLeavesNoScrollForTheNextPage)
{
    Options->ScrollLines = 23;
    ShowFile("de");
    SelectRow("morning");
    QSignalSpy loaded(Form->WBGoogle, &QWebEngineView::loadFinished);
    Form->BLoadTrans->click();
    ASSERT_TRUE(WaitLoaded(loaded));
    ASSERT_EQ(ScrollY(), 23);

    // With the default template the next text changes only what follows "#": the page shown stays.
    QSignalSpy moved(Form->WBGoogle, &QWebEngineView::urlChanged);
    SelectRow("dots");
    Form->BLoadTrans->click();
    ASSERT_TRUE(moved.wait(20000));
    EXPECT_EQ(Form->WBGoogle->url().fragment(QUrl::FullyDecoded), "en/de/dots");
    EXPECT_FALSE(Form->EnableScrollWebPage);
    EXPECT_TRUE(loaded.isEmpty());

    // A link followed in the pane loads a page that stays at its top.
    Form->WBGoogle->page()->runJavaScript("document.getElementById('next').click();");
    ASSERT_TRUE(WaitLoaded(loaded));
    EXPECT_TRUE(Form->WBGoogle->url().toString().endsWith("other.html"));
    EXPECT_EQ(ScrollY(), 0);
}

TEST_F(WebTranslatorTest, PageLoadedWithoutARequestIsNotScrolled)
{
    QSignalSpy loaded(Form->WBGoogle, &QWebEngineView::loadFinished);
    Form->WBGoogle->load(QUrl::fromLocalFile(Page));
    ASSERT_TRUE(WaitLoaded(loaded));
    EXPECT_EQ(ScrollY(), 0);
}

// ---------------------------------------------------------------------------------------------------------------
// The "..." buttons

struct TPickCase
{
    const char *name;
    QLineEdit *TGlossmillMainForm::*box;
    QToolButton *TGlossmillMainForm::*button;
};

void PrintTo(const TPickCase &c, std::ostream *os)
{
    *os << c.name;
}

class LocaleButtonTest : public WebTranslatorTest, public ::testing::WithParamInterface<TPickCase>
{
protected:
    QLineEdit *Box() const { return (*Form).*(GetParam().box); }
    QToolButton *Button() const { return (*Form).*(GetParam().button); }
    // Answers the dialog: picks the row of `code` (none when empty) and presses OK, or cancels.
    void Answer(const QString &code, bool ok, QString *presetSeen = nullptr)
    {
        ModalDriver::AnswerNextModal([code, ok, presetSeen](QWidget *w) {
            auto *dialog = qobject_cast<TFormSelectLang *>(w);
            ASSERT_NE(dialog, nullptr);
            if (presetSeen)
                *presetSeen = dialog->GetLocaleCode(QStringLiteral("<none>"));
            for (int i = 0; i < dialog->LBLanguages->count() && !code.isEmpty(); ++i) {
                QListWidgetItem *row = dialog->LBLanguages->item(i);
                if (WebLocaleCode(LocaleListRows::ContainerOf(row)->LangDesc) == code) {
                    dialog->LBLanguages->setCurrentItem(row);
                    break;
                }
            }
            if (ok)
                dialog->bOK->click();
            else
                dialog->BitBtn1->click();
        });
    }
};

TEST_P(LocaleButtonTest, OkWritesTheChosenCodeCancelKeepsTheBox)
{
    Form->CHAutoLocale->click(); // the target's button works only without "Auto"
    ASSERT_TRUE(Button()->isEnabled());
    const QUrl before = Requested();

    Box()->setText("af");
    QString preset;
    Answer("pt-BR", true, &preset);
    Button()->click();
    EXPECT_EQ(preset, "af");
    EXPECT_EQ(Box()->text(), "pt-BR");

    Answer("de", false);
    Button()->click();
    EXPECT_EQ(Box()->text(), "pt-BR");
    EXPECT_EQ(Requested(), before) << "neither button loads a page";
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, LocaleButtonTest,
    ::testing::Values(TPickCase{"Source", &TGlossmillMainForm::EDDefaultLocaleCode,
                                &TGlossmillMainForm::SBShowDefaultLocales},
                      TPickCase{"Target", &TGlossmillMainForm::EDTargetLocale,
                                &TGlossmillMainForm::SBSelectTargetLocale}),
    [](const ::testing::TestParamInfo<TPickCase> &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------------------------
// "Auto" on a group node

TEST_F(WebTranslatorTest, AutoOnAGroupNodeTakesItsLanguage)
{
    ShowFile("af");
    Form->CHAutoLocale->click();
    Form->EDTargetLocale->setText("zh-CN");
    Form->TVProject->setCurrentItem(Node("pt-BR", 1));
    EXPECT_EQ(Form->EDTargetLocale->text(), "zh-CN");
    Form->CHAutoLocale->click();
    EXPECT_TRUE(Form->CHAutoLocale->isChecked());
    EXPECT_EQ(Form->EDTargetLocale->text(), "pt-BR");
    EXPECT_FALSE(Form->EDTargetLocale->isEnabled());
}

} // namespace
