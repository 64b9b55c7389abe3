#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <stdexcept>

#include "EditExMP.h"
#include "Glossmill_OptionsDialog.h"

namespace {

const QLocale FullStop(QLocale::English, QLocale::UnitedStates);
const QLocale Comma(QLocale::German, QLocale::Germany);

struct TEvent
{
    QString name;
    QVariant value;
};

// A control with both value events recorded in order.
class EditExMPTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(FullStop);
        c.setOnValueChanged([this](TEditExMP *s, const QVariant &v) {
            sender = s;
            events.append({"changed", v});
        });
        c.setOnIncorectValue([this](TEditExMP *s, const QVariant &v) {
            sender = s;
            events.append({"incorrect", v});
        });
    }
    void TearDown() override { QLocale::setDefault(FullStop); }

    // The scroll-lines box of the options: integers 0 to 20, holding 2.
    void MakeScrollLines()
    {
        c.setMinValue(0);
        c.setMaxValue(20);
        c.setValue(2);
        c.setHistoryList({});
    }
    void Commit(const QString &typed)
    {
        c.EDit()->setText(typed);
        c.CommitText();
    }
    QString Events() const
    {
        QStringList out;
        for (const TEvent &e : events)
            out << e.name + "(" + EditExMPConvert::ToText(e.value) + ")";
        return out.join(" ");
    }

    TEditExMP c;
    QList<TEvent> events;
    TEditExMP *sender = nullptr;
};

} // namespace

TEST_F(EditExMPTest, ConstructionState)
{
    EXPECT_EQ(c.size(), QSize(58, 21));
    EXPECT_EQ(c.Kind(), ekInteger);
    EXPECT_TRUE(c.HistoryVisible());
    EXPECT_EQ(c.Value(), QVariant(1));
    EXPECT_EQ(c.MinValue(), QVariant(0));
    EXPECT_EQ(c.MaxValue(), QVariant(0));
    EXPECT_EQ(c.StepValue(), QVariant(1));
    EXPECT_EQ(c.MaxLength(), 0);
    EXPECT_EQ(c.MaxHistoryItems(), 20);
    EXPECT_TRUE(c.HistoryAutoAdd());
    EXPECT_TRUE(c.HistoryList().isEmpty());
    EXPECT_TRUE(c.FloatFormat().isEmpty());
    EXPECT_EQ(c.EDit()->text(), "1");
    EXPECT_EQ(c.Color(), c.EDit()->palette().color(QPalette::Base));

    auto *ed = c.findChild<QLineEdit *>("ED");
    auto *spin = c.findChild<QWidget *>("SPButton");
    auto *history = c.findChild<QToolButton *>("SBHistory");
    ASSERT_TRUE(ed && spin && history && c.findChild<QMenu *>("HMenu"));
    EXPECT_EQ(ed, c.EDit());
    EXPECT_EQ(ed->geometry(), QRect(0, 0, 28, 21));
    EXPECT_EQ(spin->geometry(), QRect(28, 0, 14, 21));
    EXPECT_EQ(history->geometry(), QRect(42, 0, 16, 21));
    EXPECT_FALSE(history->icon().isNull()) << "the HISTORY picture is missing";

    // Anchored right: the history button keeps its distance to the right edge.
    c.show();
    c.resize(100, 30);
    EXPECT_EQ(history->geometry(), QRect(84, 0, 16, 30));
    EXPECT_EQ(ed->geometry(), QRect(0, 0, 28, 30));
}

TEST_F(EditExMPTest, SpinArrowsRepeatAndNeverTakeTheFocus)
{
    for (const char *name : {"SPButtonUp", "SPButtonDown"}) {
        auto *arrow = c.findChild<QToolButton *>(name);
        ASSERT_TRUE(arrow) << name;
        EXPECT_TRUE(arrow->autoRepeat());
        EXPECT_EQ(arrow->autoRepeatDelay(), 400);
        EXPECT_EQ(arrow->autoRepeatInterval(), 100);
        EXPECT_EQ(arrow->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_EQ(c.findChild<QToolButton *>("SBHistory")->focusPolicy(), Qt::NoFocus);
    c.findChild<QToolButton *>("SPButtonUp")->click();
    EXPECT_EQ(c.Value(), QVariant(2));
    c.findChild<QToolButton *>("SPButtonDown")->click();
    c.findChild<QToolButton *>("SPButtonDown")->click();
    EXPECT_EQ(c.Value(), QVariant(0));
    EXPECT_EQ(Events(), "changed(2) changed(1) changed(0)");
}

TEST_F(EditExMPTest, TextKindHidesTheArrowsAndLeavesTheHistoryButton)
{
    auto *history = c.findChild<QToolButton *>("SBHistory");
    c.setKind(ekText);
    EXPECT_TRUE(c.findChild<QWidget *>("SPButton")->isHidden());
    EXPECT_EQ(history->geometry(), QRect(42, 0, 16, 21));
    // Placed again only by a write of HistoryVisible: then it follows the edit box.
    c.setHistoryVisible(true);
    EXPECT_EQ(history->geometry(), QRect(28, 0, 16, 21));
    c.setHistoryVisible(false);
    EXPECT_TRUE(history->isHidden());
    EXPECT_EQ(history->width(), 0);
    c.setKind(ekFloat);
    EXPECT_FALSE(c.findChild<QWidget *>("SPButton")->isHidden());
}

TEST_F(EditExMPTest, EnabledReachesTheBoxAndTheArrows)
{
    EXPECT_TRUE(c.Enabled());
    c.setEnabled(false);
    EXPECT_FALSE(c.Enabled());
    EXPECT_FALSE(c.EDit()->isEnabled());
    EXPECT_FALSE(c.findChild<QWidget *>("SPButton")->isEnabled());
    static_cast<QWidget &>(c).setEnabled(true);
    EXPECT_TRUE(c.Enabled());
    EXPECT_TRUE(c.EDit()->isEnabled());
}

// How the control's containers and the control itself are switched, in order: "c" the control, "p" its container,
// "g" the container's container; a capital letter enables, a small one disables.
struct TContainerCase
{
    const char *steps;
    bool enabled; // the control's own state afterwards
};

void PrintTo(const TContainerCase &c, std::ostream *os)
{
    *os << c.steps;
}

class EditExMPContainerTest : public ::testing::TestWithParam<TContainerCase>
{
};

TEST_P(EditExMPContainerTest, AContainerSwitchedOffAndOnAgainGivesTheControlBackItsOwnState)
{
    QWidget grand;
    auto *parent = new QWidget(&grand);
    auto *c = new TEditExMP(parent);
    c->setEnabled(true);
    for (const char *step = GetParam().steps; *step; ++step) {
        QWidget *target = *step == 'c' || *step == 'C' ? c : (*step == 'p' || *step == 'P' ? parent : &grand);
        if (target == c)
            c->setEnabled(QChar(*step).isUpper());
        else
            target->setEnabled(QChar(*step).isUpper());
    }
    const bool inherited = parent->isEnabled();
    EXPECT_EQ(c->Enabled(), GetParam().enabled);
    EXPECT_EQ(c->isEnabled(), GetParam().enabled && inherited);
    EXPECT_EQ(c->EDit()->isEnabled(), GetParam().enabled && inherited);
    EXPECT_EQ(c->findChild<QWidget *>("SPButton")->isEnabled(), GetParam().enabled && inherited);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, EditExMPContainerTest,
    ::testing::Values(TContainerCase{"pP", true}, TContainerCase{"gG", true}, TContainerCase{"pgPG", true},
                      TContainerCase{"p", true}, TContainerCase{"cpP", false}, TContainerCase{"pcP", false},
                      TContainerCase{"pCP", true}, TContainerCase{"pPcC", true}),
    [](const ::testing::TestParamInfo<TContainerCase> &info) {
        std::string name;
        for (const char *s = info.param.steps; *s; ++s)
            name += std::string(QChar(*s).isUpper() ? "On" : "Off") + char(QChar(*s).toUpper().toLatin1());
        return name;
    });

TEST(EditExMPInDialog, TheOptionsScrollLinesComeBackWithTheDialog)
{
    QTemporaryDir dir;
    QLineEdit mainLocaleBox;
    TFRMOptions options(nullptr, &mainLocaleBox, dir.filePath("none.ini"));
    auto *scrollLines = options.findChild<TEditExMP *>("EDScrollLines");
    ASSERT_NE(scrollLines, nullptr);
    options.setEnabled(false);
    EXPECT_FALSE(scrollLines->EDit()->isEnabled());
    options.setEnabled(true);
    EXPECT_TRUE(scrollLines->isEnabled());
    EXPECT_TRUE(scrollLines->EDit()->isEnabled());
    EXPECT_TRUE(scrollLines->Enabled());
}

TEST_F(EditExMPTest, ColorIsTheBoxBackground)
{
    c.setColor(Qt::yellow);
    EXPECT_EQ(c.Color(), QColor(Qt::yellow));
    EXPECT_EQ(c.EDit()->palette().color(QPalette::Base), QColor(Qt::yellow));
}

struct TValidityCase
{
    const char *name;
    TEditExMPKind kind;
    QVariant min, max;
    int maxLength;
    QVariant candidate;
    bool valid;
    const QLocale *locale = &FullStop;
};

class EditExMPValidityTest : public ::testing::TestWithParam<TValidityCase>
{
protected:
    void TearDown() override { QLocale::setDefault(FullStop); }
};

TEST_P(EditExMPValidityTest, IsValidValue)
{
    const TValidityCase &t = GetParam();
    QLocale::setDefault(*t.locale);
    TEditExMP c;
    c.setKind(t.kind);
    c.setMinValue(t.min);
    c.setMaxValue(t.max);
    c.setMaxLength(t.maxLength);
    EXPECT_EQ(c.IsValidValue(t.candidate), t.valid) << t.name;
}

INSTANTIATE_TEST_SUITE_P(
    ByKindAndLimits, EditExMPValidityTest,
    ::testing::Values(
        TValidityCase{"int_equal_limits_any_number", ekInteger, 0, 0, 0, QString("123456"), true},
        TValidityCase{"int_equal_limits_negative", ekInteger, 0, 0, 0, -99, true},
        TValidityCase{"int_equal_limits_fraction", ekInteger, 0, 0, 0, QString("2.5"), true},
        TValidityCase{"int_equal_limits_not_a_number", ekInteger, 0, 0, 0, QString("abc"), false},
        TValidityCase{"int_empty_text", ekInteger, 0, 0, 0, QString(""), false},
        TValidityCase{"int_above", ekInteger, 0, 20, 0, QString("25"), false},
        TValidityCase{"int_upper_bound", ekInteger, 0, 20, 0, 20, true},
        TValidityCase{"int_lower_bound", ekInteger, 0, 20, 0, QString("0"), true},
        TValidityCase{"int_below", ekInteger, 0, 20, 0, -1, false},
        TValidityCase{"int_20_4_rounds_down", ekInteger, 0, 20, 0, QString("20.4"), true},
        TValidityCase{"int_20_6_rounds_up", ekInteger, 0, 20, 0, QString("20.6"), false},
        TValidityCase{"int_20_5_halves_to_even", ekInteger, 0, 20, 0, 20.5, true},
        TValidityCase{"int_2_5_halves_to_2", ekInteger, 0, 2, 0, 2.5, true},
        TValidityCase{"int_3_5_halves_to_4", ekInteger, 0, 3, 0, 3.5, false},
        TValidityCase{"int_minus_0_4", ekInteger, 0, 20, 0, QString("-0.4"), true},
        TValidityCase{"int_minus_0_6", ekInteger, 0, 20, 0, QString("-0.6"), false},
        TValidityCase{"int_group_separator", ekInteger, 0, 2000, 0, QString("1,000"), false},
        TValidityCase{"int_surrounding_blanks", ekInteger, 0, 20, 0, QString(" 5 "), true},
        TValidityCase{"int_text_limits", ekInteger, QString("1"), QString("9"), 0, 5, true},
        TValidityCase{"float_equal_limits", ekFloat, 0, 0, 0, -1e9, true},
        TValidityCase{"float_not_a_number", ekFloat, 0, 0, 0, QString("1.2.3"), false},
        TValidityCase{"float_upper_bound", ekFloat, 0.5, 1.5, 0, QString("1.5"), true},
        TValidityCase{"float_just_above", ekFloat, 0.5, 1.5, 0, 1.51, false},
        TValidityCase{"float_lower_bound", ekFloat, 0.5, 1.5, 0, 0.5, true},
        TValidityCase{"float_limit_not_a_number", ekFloat, QString("abc"), 1.5, 0, 1.0, false},
        TValidityCase{"float_comma_locale", ekFloat, 1, 2, 0, QString("1,5"), true, &Comma},
        TValidityCase{"float_full_stop_under_comma_locale", ekFloat, 0, 0, 0, QString("1.5"), false, &Comma},
        TValidityCase{"int_comma_fraction", ekInteger, 0, 20, 0, QString("20,6"), false, &Comma},
        TValidityCase{"text_within_length", ekText, 0, 0, 5, QString("12345"), true},
        TValidityCase{"text_too_long", ekText, 0, 0, 5, QString("123456"), false},
        TValidityCase{"text_no_limit", ekText, 0, 0, 0, QString(500, 'x'), true},
        TValidityCase{"text_negative_limit", ekText, 0, 0, -1, QString(500, 'x'), true},
        TValidityCase{"text_number_candidate", ekText, 0, 0, 2, 123, false}),
    [](const ::testing::TestParamInfo<TValidityCase> &info) { return std::string(info.param.name); });

TEST_F(EditExMPTest, WritingValueChecksButRaisesNothing)
{
    MakeScrollLines();
    c.setValue(25);
    EXPECT_EQ(c.Value(), QVariant(2));
    c.setValue(7);
    EXPECT_EQ(c.Value(), QVariant(7));
    EXPECT_EQ(c.EDit()->text(), "7");
    EXPECT_TRUE(events.isEmpty());
}

struct TCommitCase
{
    const char *name;
    const char *typed;
    const char *events;
    QVariant value;
    const char *shown;
    int historyAdded;
};

class EditExMPCommitTest : public EditExMPTest, public ::testing::WithParamInterface<TCommitCase>
{
};

TEST_P(EditExMPCommitTest, CommitInScrollLinesBox)
{
    const TCommitCase &t = GetParam();
    MakeScrollLines();
    Commit(t.typed);
    EXPECT_EQ(Events(), t.events);
    EXPECT_EQ(c.Value(), t.value);
    EXPECT_EQ(c.Value().typeId(), t.value.typeId());
    EXPECT_EQ(c.EDit()->text(), t.shown);
    EXPECT_EQ(c.HistoryList().size(), t.historyAdded);
    if (!events.isEmpty())
        EXPECT_EQ(sender, &c);
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, EditExMPCommitTest,
    ::testing::Values(TCommitCase{"valid", "15", "changed(15)", 15, "15", 1},
                      TCommitCase{"unchanged_still_commits", "2", "changed(2)", 2, "2", 1},
                      TCommitCase{"above_limit_silent", "25", "", 2, "2", 0},
                      TCommitCase{"fraction_rounding_into_range", "20.4", "incorrect(2)", 2, "2", 0},
                      TCommitCase{"fraction_rounding_out_of_range", "20.6", "", 2, "2", 0},
                      TCommitCase{"not_a_number", "x", "", 2, "2", 0},
                      TCommitCase{"blanks_around", " 3 ", "changed(3)", 3, "3", 1}),
    [](const ::testing::TestParamInfo<TCommitCase> &info) { return std::string(info.param.name); });

TEST_F(EditExMPTest, EnterCommitsAndLeavingCommitsAgain)
{
    MakeScrollLines();
    int exits = 0;
    c.setOnExit([&](QObject *s) {
        EXPECT_EQ(s, &c);
        ++exits;
    });
    c.EDit()->setText("5");
    QTest::keyClick(c.EDit(), Qt::Key_Return);
    EXPECT_EQ(c.Value(), QVariant(5));
    c.EditExit();
    EXPECT_EQ(Events(), "changed(5) changed(5)");
    EXPECT_EQ(c.HistoryList(), QStringList({"5", "5"})) << "no duplicate check";
    EXPECT_EQ(exits, 1);
}

TEST_F(EditExMPTest, FocusInRunsOnEnterAndFocusOutCommits)
{
    QWidget window;
    auto *owned = new TEditExMP(&window);
    auto *other = new QLineEdit(&window);
    other->move(0, 40);
    int enters = 0;
    QObject *enterSender = nullptr;
    QList<QVariant> changes;
    owned->setOnEnter([&](QObject *s) {
        enterSender = s;
        ++enters;
    });
    owned->setOnValueChanged([&](TEditExMP *, const QVariant &v) { changes.append(v); });
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    owned->setFocus();
    QTRY_VERIFY(owned->EDit()->hasFocus());
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(enterSender, owned);
    owned->EDit()->setText("9");
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    EXPECT_EQ(changes, QList<QVariant>({9}));
}

TEST_F(EditExMPTest, FailureInsideACommitRaisesIncorrectValue)
{
    MakeScrollLines();
    c.setOnValueChanged([this](TEditExMP *, const QVariant &v) {
        events.append({"changed", v});
        throw std::runtime_error("handler failed");
    });
    Commit("8");
    EXPECT_EQ(Events(), "changed(8) incorrect(8)");
    EXPECT_TRUE(c.HistoryList().isEmpty()) << "the failure stops the history update";
    EXPECT_EQ(c.EDit()->text(), "8");
}

TEST_F(EditExMPTest, SpinAtTheLimits)
{
    MakeScrollLines();
    c.setValue(20);
    c.SpinUpClick();
    EXPECT_EQ(Events(), "incorrect(20)");
    EXPECT_EQ(c.Value(), QVariant(20));
    c.SpinDownClick();
    EXPECT_EQ(c.Value(), QVariant(19));
    EXPECT_EQ(c.EDit()->text(), "19");
    c.setValue(0);
    events.clear();
    c.SpinDownClick();
    EXPECT_EQ(Events(), "incorrect(0)");
    EXPECT_TRUE(c.HistoryList().isEmpty()) << "spinning never touches the history";
}

TEST_F(EditExMPTest, SpinStartsFromTheValueNotTheTypedText)
{
    MakeScrollLines();
    c.EDit()->setText("10");
    c.SpinUpClick();
    EXPECT_EQ(c.Value(), QVariant(3));
    EXPECT_EQ(c.EDit()->text(), "3");
    c.setValue(20);
    c.EDit()->setText("10");
    c.SpinUpClick();
    EXPECT_EQ(c.EDit()->text(), "10") << "a refused step leaves the typed text";
}

TEST_F(EditExMPTest, SpinStepsAndKinds)
{
    c.setStepValue(QString("5"));
    c.SpinUpClick();
    EXPECT_EQ(c.Value(), QVariant(6));
    c.setValue(std::numeric_limits<int>::max());
    events.clear();
    c.SpinUpClick();
    EXPECT_EQ(Events(), QString("incorrect(%1)").arg(std::numeric_limits<int>::max())) << "no wrap-around";

    c.setKind(ekFloat);
    c.setValue(QString("1.5"));
    c.setStepValue(0.25);
    c.SpinUpClick();
    EXPECT_DOUBLE_EQ(c.Value().toDouble(), 1.75);
    EXPECT_EQ(c.EDit()->text(), "1.75");

    c.setKind(ekText);
    events.clear();
    c.SpinUpClick();
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(EditExMPTest, HistoryIsBoundedOldestFirst)
{
    QStringList twenty;
    for (int i = 0; i < 20; ++i)
        twenty << QString::number(100 + i);
    c.setHistoryList(twenty);
    Commit("7");
    QStringList expected = twenty.mid(1);
    expected << "7";
    EXPECT_EQ(c.HistoryList(), expected);

    c.setMaxHistoryItems(3);
    Commit("8");
    EXPECT_EQ(c.HistoryList(), QStringList({"119", "7", "8"})) << "trimmed to make room";

    c.setHistoryAutoAdd(false);
    Commit("9");
    EXPECT_EQ(c.HistoryList().size(), 3);

    c.ShowHistoryMenu();
    QStringList menu;
    for (QAction *a : c.HistoryMenu()->actions())
        menu << a->text();
    c.HistoryMenu()->hide();
    EXPECT_EQ(menu, QStringList({"119", "7", "8"}));
}

TEST_F(EditExMPTest, HistoryWithNoRoomKeepsNothing)
{
    c.setHistoryList({"1"});
    c.setMaxHistoryItems(0);
    Commit("4");
    EXPECT_EQ(Events(), "changed(4)");
    EXPECT_TRUE(c.HistoryList().isEmpty());
}

TEST_F(EditExMPTest, HistoryMenuShowsAmpersandsAsTheyAre)
{
    c.setKind(ekText);
    c.setHistoryList({"R&D"});
    c.ShowHistoryMenu();
    QAction *item = c.HistoryMenu()->actions().value(0);
    c.HistoryMenu()->hide();
    ASSERT_TRUE(item);
    EXPECT_EQ(item->text(), "R&&D");
    item->trigger();
    EXPECT_EQ(c.Value(), QVariant(QString("R&D")));
}

TEST_F(EditExMPTest, HistoryPickIsTakenButNotAddedAgain)
{
    MakeScrollLines();
    c.setHistoryList({"0", "1", "2", "3", "4", "5", "6"});
    c.ShowHistoryMenu();
    const QList<QAction *> items = c.HistoryMenu()->actions();
    c.HistoryMenu()->hide();
    ASSERT_EQ(items.size(), 7);
    items[4]->trigger();
    EXPECT_EQ(c.Value(), QVariant(4));
    EXPECT_EQ(c.EDit()->text(), "4");
    EXPECT_EQ(Events(), "changed(4)");
    EXPECT_EQ(c.HistoryList().size(), 7);

    // After the limits shrink, an entry out of range recommits the old value, still without adding it.
    c.setMaxValue(5);
    events.clear();
    items[6]->trigger();
    EXPECT_EQ(c.Value(), QVariant(4));
    EXPECT_EQ(Events(), "changed(4)");
    EXPECT_EQ(c.HistoryList().size(), 7);

    Commit("3");
    EXPECT_EQ(c.HistoryList().size(), 8) << "typed commits add again after a pick";
}

struct TKeyCase
{
    const char *name;
    TEditExMPKind kind;
    const char *typed;
    const char *result;
    const QLocale *locale;
};

class EditExMPKeyTest : public EditExMPTest, public ::testing::WithParamInterface<TKeyCase>
{
};

TEST_P(EditExMPKeyTest, KeyFilter)
{
    const TKeyCase &t = GetParam();
    QLocale::setDefault(*t.locale);
    c.setKind(t.kind);
    c.EDit()->clear();
    QTest::keyClicks(c.EDit(), t.typed);
    EXPECT_EQ(c.EDit()->text(), t.result) << t.name;
}

INSTANTIATE_TEST_SUITE_P(
    ByKind, EditExMPKeyTest,
    ::testing::Values(TKeyCase{"integer", ekInteger, "1a.2,-+ x3", "12-+3", &FullStop},
                      TKeyCase{"float_full_stop", ekFloat, "1a.2,-+e3", "1.2-+3", &FullStop},
                      TKeyCase{"float_comma", ekFloat, "1a.2,-+e3", "12,-+3", &Comma},
                      TKeyCase{"text_anything", ekText, "a.b,c d", "a.b,c d", &FullStop}),
    [](const ::testing::TestParamInfo<TKeyCase> &info) { return std::string(info.param.name); });

TEST_F(EditExMPTest, BackspaceAlwaysWorks)
{
    c.EDit()->setText("12");
    c.EDit()->end(false);
    QTest::keyClick(c.EDit(), Qt::Key_Backspace);
    EXPECT_EQ(c.EDit()->text(), "1");
}

TEST_F(EditExMPTest, TextLengthIsCappedWhileTypingAndOnCommit)
{
    c.setKind(ekText);
    c.setMaxLength(5);
    c.setValue(QString("ab"));
    c.EDit()->clear();
    QTest::keyClicks(c.EDit(), "abcdefg");
    EXPECT_EQ(c.EDit()->text(), "abcde");
    QTest::keyClick(c.EDit(), Qt::Key_Backspace);
    EXPECT_EQ(c.EDit()->text(), "abcd");
    QTest::keyClicks(c.EDit(), "xy");
    EXPECT_EQ(c.EDit()->text(), "abcdx");
    c.CommitText();
    EXPECT_EQ(c.Value(), QVariant(QString("abcdx")));

    Commit("abcdef"); // pasted
    EXPECT_EQ(c.Value(), QVariant(QString("abcdx")));
    EXPECT_EQ(c.EDit()->text(), "abcdx");
    EXPECT_EQ(Events(), "changed(abcdx)");
}

TEST_F(EditExMPTest, FloatFormatFollowsTheLocale)
{
    c.setKind(ekFloat);
    c.setFloatFormat("%.2f");
    c.setValue(1.5);
    EXPECT_EQ(c.EDit()->text(), "1.50");
    Commit("1.25");
    EXPECT_EQ(c.Value(), QVariant(QString("1.25"))) << "a typed commit holds the text";
    EXPECT_EQ(c.EDit()->text(), "1.25");
    c.setFloatFormat("%6.1f%% done");
    c.setValue(1.5);
    EXPECT_EQ(c.EDit()->text(), "   1.5% done");

    QLocale::setDefault(Comma);
    c.setFloatFormat("%.2f");
    c.setValue(1.5);
    EXPECT_EQ(c.EDit()->text(), "1,50");
    Commit("2,5");
    EXPECT_EQ(c.Value(), QVariant(QString("2,5")));
    EXPECT_EQ(c.EDit()->text(), "2,50");
    c.setFloatFormat("");
    c.setValue(0.75);
    EXPECT_EQ(c.EDit()->text(), "0,75");
}
