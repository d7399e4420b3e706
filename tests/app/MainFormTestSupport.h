#pragma once

// A main window in-process for the window's tests, with its own settings, log and placeholder in
// a temporary folder, and the helpers that answer its file dialogs.

#include "app/MainForm.h"
#include "app/settings/RegistryFile.h"
#include "jpeg_bridge/JPEGImage.h"
#include "jpeg_bridge/JpegFile.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

// Writes a JPEG of Width x Height with a smooth pattern.
inline void WriteTestJpeg(const std::filesystem::path& Path, int Width, int Height) {
    TBitmap32 Picture;
    Picture.SetDimensions(Width, Height);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            Picture.ScanLine(Y)[X] = 0xFF000000u | static_cast<TColor32>((X * 255 / Width) << 16) |
                                     static_cast<TColor32>((Y * 255 / Height) << 8);
    SaveJpegFile(Picture, Path.string(), 90);
}

// Calls Work with the next modal file dialog once it is open: the call that opens it must follow
// at once (a dialog opened by a key may come a moment later than one opened by a click).
inline void WithNextFileDialog(std::function<void(QFileDialog&)> Work, int Tries = 20) {
    QTimer::singleShot(Tries == 20 ? 0 : 10, [Work = std::move(Work), Tries]() mutable {
        auto* const Dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (Dialog != nullptr)
            Work(*Dialog);
        else if (Tries > 0)
            WithNextFileDialog(std::move(Work), Tries - 1);
        else
            ADD_FAILURE() << "no file dialog opened";
    });
}

// Answers the next modal file dialog with Name, as a person typing it into the name field and
// pressing Enter would. (QFileDialog::selectFile leaves a name field that has the focus as it is.)
inline void AnswerNextFileDialogWith(const std::string& Name) {
    WithNextFileDialog([Name](QFileDialog& Dialog) {
        if (auto* const Field = Dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            Field->setText(QString::fromStdString(Name));
        else
            Dialog.selectFile(QString::fromStdString(Name));
        QMetaObject::invokeMethod(&Dialog, "accept");
    });
}

class MainFormFixture : public testing::Test {
protected:
    static void SetUpTestSuite() { RegisterJpegPictures(); }

    MainFormFixture()
        : Settings(Folder / "Trayvane.reg"), LogPath(Folder / "trayvane.log"),
          Placeholder(Folder / "DropHere.jpg") {
        WriteTestJpeg(Placeholder, 80, 30);
    }

    std::unique_ptr<TMainForm> MakeForm() {
        auto Form = std::make_unique<TMainForm>(Settings, LogPath, Placeholder);
        Form->show();
        QApplication::processEvents();
        return Form;
    }

    std::string Log() const {
        return std::filesystem::exists(LogPath) ? ReadWholeFile(LogPath) : std::string{};
    }
    int LogRecords() const {
        const std::string Text = Log();
        int Records = 0;
        for (std::size_t At = Text.find("Exception = "); At != std::string::npos;
             At = Text.find("Exception = ", At + 1))
            ++Records;
        return Records;
    }

    TTempFolder Folder;
    TRegistryFileStore Settings;
    std::string LogPath;
    std::string Placeholder;
};
