// The window as a person feels it, on the real widgets (Qt's offscreen platform unless another is
// set), with a 6000 x 3000 wrap-around scan (quality 92) at the designed window size:
//
//   slider step     an arrow key on the spine slider, until the output view has repainted (in
//                   the back-and-front layout the scan loads with, and in the back layout)
//   layout switch   a click on a layout button, until the output view has repainted (to the
//                   back layout and back again)
//   first paint     LoadInputImage of the scan, until both views have repainted; against
//                   LoadJpegFile and ComposeTrayInlay alone (into fresh bitmaps, as an open does)
//
// Each step is split into the handler (the recomposition) and the paint that follows it, to show
// where the time goes. Prints medians of alternating runs.
//
//   window_bench [RUNS]          (default 21)
//   window_bench RUNS slider     slider steps alone, for a profiler

#include "app/MainForm.h"
#include "app/settings/RegistryFile.h"
#include "bench/ScanPicture.h"
#include "composer/TrayInlay.h"
#include "jpeg_bridge/JPEGImage.h"
#include "jpeg_bridge/JpegFile.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point Start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    const std::size_t N = Values.size();
    return N == 0 ? 0.0 : N % 2 ? Values[N / 2] : (Values[N / 2 - 1] + Values[N / 2]) / 2;
}

// One timed step: the handler that an input event runs, then the paints it asked for.
struct TStepTimes {
    std::vector<double> Handler;
    std::vector<double> Paint;
    std::vector<double> Total;
};

// Runs Action (which sends the input event), then the pending paints; checks that the output
// view was rendered anew.
template <class TAction>
void TimeStep(TMainForm& Form, TStepTimes& Times, TAction&& Action) {
    const int RendersBefore = Form.OutputView().RenderCount();
    const TClock::time_point Start = TClock::now();
    Action();
    const double Handler = MillisecondsSince(Start);
    const TClock::time_point PaintStart = TClock::now();
    QApplication::processEvents();
    const double Paint = MillisecondsSince(PaintStart);
    if (Form.OutputView().RenderCount() == RendersBefore) {
        std::fprintf(stderr, "window_bench: the output view was not repainted\n");
        std::exit(1);
    }
    Times.Handler.push_back(Handler);
    Times.Paint.push_back(Paint);
    Times.Total.push_back(Handler + Paint);
}

void Print(const char* Name, const TStepTimes& Times) {
    std::printf("%-16s %8.2f ms  (handler %.2f ms, paint %.2f ms)\n", Name, Median(Times.Total),
                Median(Times.Handler), Median(Times.Paint));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int Runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const bool SliderOnly = argc > 2 && std::string(argv[2]) == "slider";
    int QtArgc = 1;
    QApplication Application(QtArgc, argv);
    RegisterJpegPictures();

    const std::filesystem::path Folder =
        std::filesystem::temp_directory_path() /
        ("trayvane-window-bench-" + std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::create_directories(Folder);
    const std::string Scan = (Folder / "scan.jpg").string();
    const std::string Placeholder = (Folder / "DropHere.jpg").string();
    if (WriteJpegPicture(Scan, MakeScanPicture(6000, 3000), 6000, 3000, 92) != 0 ||
        WriteJpegPicture(Placeholder, MakeScanPicture(300, 120), 300, 120, 90) != 0) {
        std::fprintf(stderr, "window_bench: cannot write the scans in %s\n", Folder.c_str());
        return 1;
    }

    int Result = 0;
    {
        TRegistryFileStore Settings((Folder / "Trayvane.reg").string());
        TMainForm Form(Settings, (Folder / "trayvane.log").string(), Placeholder);
        Form.show();
        QApplication::processEvents();
        std::printf("window %d x %d, output view %d x %d, platform %s, %d runs\n", Form.width(),
                    Form.height(), Form.OutputView().width(), Form.OutputView().height(),
                    qPrintable(QGuiApplication::platformName()), Runs);

        // Opening, alternating with its floor. The first open comes from the placeholder, so its
        // memory is fresh, as the floor's first run; later ones reuse what the last one freed.
        TStepTimes Open;
        std::vector<double> Floor, FloorLoad, FloorCompose;
        for (int Run = 0; Run < (SliderOnly ? 1 : std::max(5, Runs / 3)); ++Run) {
            {
                TBitmap32 Input, Output;
                const TClock::time_point Start = TClock::now();
                LoadJpegFile(&Input, Scan);
                const double Load = MillisecondsSince(Start);
                const TClock::time_point ComposeStart = TClock::now();
                ComposeTrayInlay(Input, ChooseInlayLayout(Input), 0, Output);
                FloorLoad.push_back(Load);
                FloorCompose.push_back(MillisecondsSince(ComposeStart));
                Floor.push_back(Load + FloorCompose.back());
            }
            const int InputRenders = Form.InputView().RenderCount();
            TimeStep(Form, Open, [&] { Form.LoadInputImage(Scan); });
            if (Form.InputView().RenderCount() == InputRenders) {
                std::fprintf(stderr, "window_bench: the input view was not repainted\n");
                return 1;
            }
        }

        // The scan loads in the back-and-front layout: slider steps there, then the switch to
        // the back layout (a 6250 x 4863 inlay, four times the pixels) and back, then slider
        // steps in the back layout.
        Form.SpineTrackBar().setFocus();
        TStepTimes Slider, ToBack, ToBackAndFront, BackSlider;
        const auto Step = [&](TStepTimes& Times, int Run) {
            TimeStep(Form, Times, [&] {
                Form.SpineTrackBar().setFocus();
                QTest::keyClick(&Form.SpineTrackBar(), Run % 2 ? Qt::Key_Left : Qt::Key_Right);
            });
        };
        for (int Run = 0; Run < Runs; ++Run)
            Step(Slider, Run);
        if (SliderOnly) {
            Print("slider step", Slider);
            return 0;
        }
        const int BackAndFrontWidth = Form.OutputView().Bitmap().Width();
        const int BackAndFrontHeight = Form.OutputView().Bitmap().Height();
        for (int Run = 0; Run < Runs; ++Run) {
            TimeStep(Form, ToBack, [&] { QTest::mouseClick(&Form.BackButton(), Qt::LeftButton); });
            TimeStep(Form, ToBackAndFront,
                     [&] { QTest::mouseClick(&Form.BackFrontButton(), Qt::LeftButton); });
        }
        QTest::mouseClick(&Form.BackButton(), Qt::LeftButton);
        QApplication::processEvents();
        for (int Run = 0; Run < Runs; ++Run)
            Step(BackSlider, Run);

        std::printf("inlay %d x %d (back and front), %d x %d (back)\n", BackAndFrontWidth,
                    BackAndFrontHeight, Form.OutputView().Bitmap().Width(),
                    Form.OutputView().Bitmap().Height());
        Print("slider step", Slider);
        Print("to back", ToBack);
        Print("to back+front", ToBackAndFront);
        Print("slider (back)", BackSlider);
        Print("first paint", Open);
        std::printf("%-16s %8.2f ms  (LoadJpegFile %.2f ms, ComposeTrayInlay %.2f ms)\n",
                    "load + compose", Median(Floor), Median(FloorLoad), Median(FloorCompose));
        const double Ratio = Median(Open.Total) / Median(Floor);
        std::printf("first paint / (load + compose) = %.2f\n", Ratio);
        const bool Met = Median(Slider.Total) <= 16.0 && Median(ToBack.Total) <= 16.0 &&
                         Median(ToBackAndFront.Total) <= 16.0 && Ratio <= 1.2;
        std::printf("targets (slider step and layout switches 16 ms, first paint 1.2): %s\n",
                    Met ? "met" : "NOT met");
    }
    std::error_code Ignored;
    std::filesystem::remove_all(Folder, Ignored);
    return Result;
}
