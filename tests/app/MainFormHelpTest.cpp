// The window's own help: F1 shows "Trayvane Help" with the user guide from the program's
// resources, one window at a time; Esc closes it.

#include "tests/app/MainFormTestSupport.h"

#include <QTest>
#include <QTextBrowser>
#include <QWindow>

#include <gmock/gmock.h>

using testing::HasSubstr;

namespace {

class MainFormHelpTest : public MainFormFixture {
protected:
    static void PressF1(QWidget& Window) {
        Window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
        QTest::keyClick(Window.windowHandle(), Qt::Key_F1);
    }
    static std::vector<THelpWindow*> ShownHelpWindows() {
        std::vector<THelpWindow*> Shown;
        for (QWidget* const Window : QApplication::topLevelWidgets())
            if (auto* const Help = qobject_cast<THelpWindow*>(Window); Help && Help->isVisible())
                Shown.push_back(Help);
        return Shown;
    }
};

TEST_F(MainFormHelpTest, F1ShowsOneHelpWindowWithTheGuideAndEscClosesIt) {
    const auto Form = MakeForm();
    PressF1(*Form);
    ASSERT_EQ(ShownHelpWindows().size(), 1u);
    THelpWindow& Help = *Form->HelpWindow();
    EXPECT_EQ(Help.windowTitle().toStdString(), "Trayvane Help");
    EXPECT_TRUE(Help.isWindow());

    // F1 again, from the main window: the same window, brought to the front.
    Form->activateWindow();
    PressF1(*Form);
    EXPECT_EQ(ShownHelpWindows(), std::vector<THelpWindow*>{&Help});
    EXPECT_TRUE(QTest::qWaitForWindowActive(&Help));

    QTest::keyClick(Help.windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(ShownHelpWindows().empty());
    EXPECT_TRUE(Form->isVisible()) << "Esc closes the help, not the program";

    PressF1(*Form);
    EXPECT_EQ(ShownHelpWindows(), std::vector<THelpWindow*>{&Help});
    EXPECT_EQ(Log(), "");
}

// The guide is in the program itself and covers what a newcomer looks for.
TEST_F(MainFormHelpTest, TheGuideComesFromTheResourcesAndCoversEveryTopic) {
    const auto Form = MakeForm();
    PressF1(*Form);
    ASSERT_NE(Form->HelpWindow(), nullptr);
    const QTextBrowser& Browser = Form->HelpWindow()->Browser();
    EXPECT_EQ(Browser.source().toString().toStdString(), HelpPageAddress);
    const std::string Text = Browser.toPlainText().toStdString();
    for (const char* Topic :
         {"Opening a cover", "Layouts", "Cut lines", "Find spine", "Spine found:", "Rotate left",
          "Ctrl+Shift+R", "Straighten", "Ctrl+T", "TRAY CARD", "Printing", "Keys", "F1",
          "trayvane.log", "~/.local/state/trayvane/trayvane.log"})
        EXPECT_THAT(Text, HasSubstr(Topic));
    // Every link inside the guide leads to a part of it.
    const QString Html = Browser.toHtml();
    for (const char* Anchor : {"opening", "layouts", "cut", "findspine", "straighten", "traycard",
                               "printing", "keys", "log"})
        EXPECT_TRUE(Html.contains(QStringLiteral("name=\"%1\"").arg(QLatin1String(Anchor))))
            << Anchor;
}

// Closing the main window takes the help with it.
TEST_F(MainFormHelpTest, TheHelpWindowEndsWithTheMainWindow) {
    auto Form = MakeForm();
    PressF1(*Form);
    ASSERT_EQ(ShownHelpWindows().size(), 1u);
    Form.reset();
    EXPECT_TRUE(ShownHelpWindows().empty());
}

} // namespace
