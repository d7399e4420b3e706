// Program start: the application, titled "Trayvane", and its one window, which lives until it is
// closed. Errors inside the window's handlers go to the exception log beside the executable.

#include "app/ExceptionLog.h"
#include "app/ExecutablePath.h"
#include "app/MainForm.h"
#include "app/settings/UserRegistry.h"
#include "base/FileName.h"
#include "jpeg_bridge/JPEGImage.h"
#include "picture_codecs/CodecPictures.h"

#include <QApplication>
#include <QIcon>

#include <clocale>

int main(int argc, char* argv[]) {
    QApplication Application(argc, argv);
    // Qt takes the user's locale for everything but numbers; the log's date and time need it.
    std::setlocale(LC_TIME, "");
    // The application's title. (Not its display name: Qt would add that to every window caption.)
    QApplication::setApplicationName(QStringLiteral("Trayvane"));
    QApplication::setDesktopFileName(QStringLiteral("trayvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/Trayvane.svg")));

    RegisterJpegPictures();
    RegisterCodecPictures();
    const std::string Executable = ExecutablePath();
    TMainForm MainForm(UserRegistryStore(), ExceptionLogPath(Executable),
                       ExtractFilePath(Executable) + PlaceholderFileName);
    MainForm.show();
    return QApplication::exec();
}
