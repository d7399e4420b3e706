#pragma once

// TPrintOptionsPanel: the print sheet's choices beside the print preview: what is printed (the
// tray card; the tray card twice; the tray card and the front cover, from this picture when it
// is a wrap-around or from another picture chosen here), the bleed from 0 to 3 mm and the
// caption. Below them a line says why the sheet cannot be printed, when it cannot. The panel
// holds no state beyond its controls; the window reads the choices at each change.

#include "app/settings/PrintOptions.h"

#include <QWidget>

#include <string>

class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;

class TPrintOptionsPanel : public QWidget {
    Q_OBJECT

public:
    // Shows Options; CoverHasFront says whether this picture is a wrap-around, whose front can
    // be printed; FrontFile is the other picture chosen before ("" for none), FromOther whether
    // the front is to come from it (always so when this picture has no front).
    TPrintOptionsPanel(const TPrintOptions& Options, bool CoverHasFront,
                       const std::string& FrontFile, bool FromOther, QWidget* Parent = nullptr);

    TPrintOptions Options() const;
    // Whether the front cover is to come from another picture than this one.
    bool FrontFromOtherPicture() const;
    // Shows the other picture's name and selects it as the front's source.
    void SetFrontFile(const std::string& FileName);
    // The sentence below the choices; empty hides it.
    void ShowProblem(const QString& Text);
    QString Problem() const;

    // The controls, for the program's tests.
    QRadioButton& CardButton() const { return *FCard; }
    QRadioButton& TwiceButton() const { return *FTwice; }
    QRadioButton& FrontButton() const { return *FWithFront; }
    QRadioButton& FrontFromThisButton() const { return *FFromThis; }
    QRadioButton& FrontFromOtherButton() const { return *FFromOther; }
    QPushButton& ChooseFrontButton() const { return *FChooseFront; }
    QDoubleSpinBox& BleedBox() const { return *FBleed; }
    QCheckBox& CaptionBox() const { return *FCaption; }

signals:
    // Any choice changed.
    void Changed();
    // "Choose…" was clicked: the window asks for the front cover's picture.
    void ChooseFrontRequested();

private:
    void UpdateEnabled();

    bool FCoverHasFront;
    QButtonGroup* FContent;
    QRadioButton* FCard;
    QRadioButton* FTwice;
    QRadioButton* FWithFront;
    QRadioButton* FFromThis;
    QRadioButton* FFromOther;
    QPushButton* FChooseFront;
    QLabel* FFrontName;
    QDoubleSpinBox* FBleed;
    QCheckBox* FCaption;
    QLabel* FProblem;
};
