// Keys, Tab stops, tooltips and accessible names of the window, through real key events on the
// window as a person's keyboard would send them.

#include "tests/app/MainFormTestSupport.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include <gmock/gmock.h>

using testing::HasSubstr;

namespace {

class MainFormKeysTest : public MainFormFixture {
protected:
    std::unique_ptr<TMainForm> MakeActiveForm() {
        auto Form = MakeForm();
        Activate(*Form);
        return Form;
    }
    // The window a person types into is the active one (after a dialog, too).
    static void Activate(TMainForm& Form) {
        Form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Form));
    }
    // Presses Key with Modifiers on the active window, as the keyboard would.
    static void Press(TMainForm& Form, Qt::Key Key, Qt::KeyboardModifiers Modifiers = {}) {
        Activate(Form);
        QTest::keyClick(Form.windowHandle(), Key, Modifiers);
    }
};

// Receives the addresses the program asks the desktop to open.
class TOpenedUrls : public QObject {
    Q_OBJECT

public:
    TOpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open"); }
    ~TOpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QList<QUrl> Opened;

public slots:
    void Open(const QUrl& Url) { Opened.append(Url); }
};

TEST_F(MainFormKeysTest, CtrlOOpensCtrlSSavesF1OpensTheHelpCtrlQCloses) {
    const std::string Cover = Folder / "cover.jpg";
    WriteTestJpeg(Cover, 900, 300);
    const auto Form = MakeActiveForm();

    AnswerNextFileDialogWith(Cover);
    Press(*Form, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Form->InputView().Bitmap().Width(), 900);

    AnswerNextFileDialogWith(Folder / "inlay.jpg");
    Press(*Form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(std::filesystem::exists(Folder / "inlay.jpg")) << Log();

    {
        // The help is the program's own: nothing goes to a browser.
        const TOpenedUrls Urls;
        Press(*Form, Qt::Key_F1);
        ASSERT_NE(Form->HelpWindow(), nullptr);
        EXPECT_TRUE(Form->HelpWindow()->isVisible());
        EXPECT_TRUE(Urls.Opened.isEmpty());
        Form->HelpWindow()->close();
    }
    {
        const TOpenedUrls Urls;
        QTest::mouseClick(&Form->HomeButton(), Qt::LeftButton);
        ASSERT_EQ(Urls.Opened.size(), 1);
        EXPECT_EQ(Urls.Opened.first().toString().toStdString(), HomePageAddress);
    }

    Press(*Form, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Log(), "");
}

TEST_F(MainFormKeysTest, TabGoesThroughTheButtonsAndTheSliderAndSpacePressesALayoutButton) {
    const auto Form = MakeActiveForm();
    // The designed width, so that no toolbar shows its compact form (whose controls are hidden).
    Form->resize(1200, Form->height());
    QApplication::processEvents();
    QWindow* const Window = Form->windowHandle();
    Form->OpenButton().setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(Form->OpenButton().hasFocus());

    std::vector<std::string> Visited;
    for (int I = 0; I < 12; ++I) {
        QTest::keyClick(Window, Qt::Key_Tab);
        const QWidget* const Focus = QApplication::focusWidget();
        Visited.push_back(Focus ? Focus->objectName().toStdString() : "(none)");
    }
    EXPECT_EQ(Visited, (std::vector<std::string>{
                           "FileSaveButton", "FilePrintButton", "FormatBackButton",
                           "FormatBackFrontButton", "FormatTrayCardButton", "FormatFindSpineButton",
                           "SpineSizeTrackBar", "ScanRotateLeftButton", "ScanRotateRightButton",
                           "ScanStraightenButton", "InfoHomeButton", "FileOpenButton"}));

    Form->BackFrontButton().setFocus(Qt::TabFocusReason);
    QTest::keyClick(Window, Qt::Key_Space);
    EXPECT_TRUE(Form->BackFrontButton().Down());
    EXPECT_FALSE(Form->OutputView().Bitmap().IsEmpty()) << "the click composed the placeholder";

    // A click on a button leaves the focus where it was.
    Form->SpineTrackBar().setFocus();
    QTest::mouseClick(&Form->BackButton(), Qt::LeftButton);
    EXPECT_TRUE(Form->SpineTrackBar().hasFocus());
}

// Every button of the ribbon, also one added later, has a tooltip and a Tab stop.
TEST_F(MainFormKeysTest, EveryButtonHasATooltipATabStopAndANameThatTellsItApart) {
    const auto Form = MakeForm();
    QStringList Names;
    for (TAdvGlowButton* const Button : Form->findChildren<TAdvGlowButton*>()) {
        const std::string Name = Button->objectName().toStdString();
        EXPECT_FALSE(Button->toolTip().isEmpty()) << Name;
        EXPECT_TRUE(Button->TabStop()) << Name;
        QAccessibleInterface* const Info = QAccessible::queryAccessibleInterface(Button);
        ASSERT_NE(Info, nullptr) << Name;
        EXPECT_EQ(Info->role(), QAccessible::Button) << Name;
        EXPECT_FALSE(Info->text(QAccessible::Description).isEmpty()) << Name;
        Names.append(Info->text(QAccessible::Name));
    }
    Names.removeDuplicates();
    EXPECT_EQ(Names.size(), Form->findChildren<TAdvGlowButton*>().size()) << "names repeat";
    EXPECT_THAT(Form->OpenButton().toolTip().toStdString(), HasSubstr("(Ctrl+O)"));
    EXPECT_THAT(Form->SaveButton().toolTip().toStdString(), HasSubstr("(Ctrl+S)"));
    EXPECT_THAT(Form->HomeButton().toolTip().toStdString(), testing::Not(HasSubstr("(F1)")));
}

TEST_F(MainFormKeysTest, TheOtherControlsAreNamedForAScreenReader) {
    const auto Form = MakeForm();
    const struct {
        QWidget* Control;
        QAccessible::Role Role;
        const char* Name;
    } Cases[] = {
        {&Form->SpineTrackBar(), QAccessible::Slider, "Spine size"},
        {&Form->InputView(), QAccessible::Client, "Cover picture"},
        {&Form->OutputView(), QAccessible::Client, "Tray inlay"},
    };
    for (const auto& C : Cases) {
        QAccessibleInterface* const Info = QAccessible::queryAccessibleInterface(C.Control);
        ASSERT_NE(Info, nullptr) << C.Name;
        EXPECT_EQ(Info->role(), C.Role) << C.Name;
        EXPECT_EQ(Info->text(QAccessible::Name).toStdString(), C.Name);
        EXPECT_FALSE(Info->text(QAccessible::Description).isEmpty()) << C.Name;
    }
    QAccessibleInterface* const Status = QAccessible::queryAccessibleInterface(&Form->Status());
    ASSERT_NE(Status, nullptr);
    EXPECT_EQ(Status->role(), QAccessible::StatusBar);
}

} // namespace

#include "MainFormKeysTest.moc"
