#include "app/PrintOptionsPanel.h"

#include "base/FileName.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString NameOf(const std::string& File) {
    return QString::fromStdString(File.substr(ExtractFilePath(File).size()));
}

} // namespace

TPrintOptionsPanel::TPrintOptionsPanel(const TPrintOptions& Options, bool CoverHasFront,
                                       const std::string& FrontFile, bool FromOther,
                                       QWidget* Parent)
    : QWidget(Parent), FCoverHasFront(CoverHasFront) {
    setObjectName(QStringLiteral("PrintOptionsPanel"));
    auto* const Layout = new QVBoxLayout(this);

    auto* const What = new QGroupBox(tr("Print"), this);
    auto* const WhatLayout = new QVBoxLayout(What);
    FCard = new QRadioButton(tr("The tray card"), What);
    FTwice = new QRadioButton(tr("The tray card twice"), What);
    FWithFront = new QRadioButton(tr("The tray card and the front cover"), What);
    FContent = new QButtonGroup(this);
    FContent->addButton(FCard, static_cast<int>(TPrintContent::Card));
    FContent->addButton(FTwice, static_cast<int>(TPrintContent::CardTwice));
    FContent->addButton(FWithFront, static_cast<int>(TPrintContent::CardAndFront));
    for (QRadioButton* const Button : {FCard, FTwice, FWithFront})
        WhatLayout->addWidget(Button);

    // The front's source, indented below its choice; a group of its own.
    auto* const Source = new QWidget(What);
    auto* const SourceLayout = new QVBoxLayout(Source);
    SourceLayout->setContentsMargins(20, 0, 0, 0);
    FFromThis = new QRadioButton(tr("From this picture (a wrap-around)"), Source);
    FFromOther = new QRadioButton(tr("From another picture:"), Source);
    auto* const SourceGroup = new QButtonGroup(this);
    SourceGroup->addButton(FFromThis);
    SourceGroup->addButton(FFromOther);
    auto* const OtherRow = new QHBoxLayout;
    FChooseFront = new QPushButton(tr("Choose\u2026"), Source);
    FFrontName = new QLabel(tr("none chosen"), Source);
    OtherRow->addWidget(FChooseFront);
    OtherRow->addWidget(FFrontName, 1);
    SourceLayout->addWidget(FFromThis);
    SourceLayout->addWidget(FFromOther);
    SourceLayout->addLayout(OtherRow);
    WhatLayout->addWidget(Source);
    Layout->addWidget(What);

    auto* const Form = new QFormLayout;
    FBleed = new QDoubleSpinBox(this);
    FBleed->setRange(0, 3);
    FBleed->setSingleStep(0.5);
    FBleed->setDecimals(1);
    FBleed->setSuffix(tr(" mm"));
    FBleed->setToolTip(tr("The picture goes this far beyond the cut, so that a cut a little off "
                          "the line leaves no white edge"));
    Form->addRow(tr("Bleed:"), FBleed);
    Layout->addLayout(Form);
    FCaption = new QCheckBox(tr("Caption (file name, layout, spine)"), this);
    Layout->addWidget(FCaption);

    FProblem = new QLabel(this);
    FProblem->setWordWrap(true);
    FProblem->setStyleSheet(QStringLiteral("color: #b00000"));
    FProblem->hide();
    Layout->addWidget(FProblem);
    Layout->addStretch(1);

    FCard->setAccessibleName(tr("Print the tray card"));
    FTwice->setAccessibleName(tr("Print the tray card twice"));
    FWithFront->setAccessibleName(tr("Print the tray card and the front cover"));
    FChooseFront->setAccessibleName(tr("Choose the front cover's picture"));
    FBleed->setAccessibleName(tr("Bleed in millimetres"));
    FCaption->setAccessibleName(tr("Print the caption"));

    FContent->button(static_cast<int>(Options.Content))->setChecked(true);
    (FromOther || !CoverHasFront ? FFromOther : FFromThis)->setChecked(true);
    if (!FrontFile.empty())
        FFrontName->setText(NameOf(FrontFile));
    FBleed->setValue(Options.BleedMm());
    FCaption->setChecked(Options.Caption);
    UpdateEnabled();

    const auto Change = [this] {
        UpdateEnabled();
        emit Changed();
    };
    connect(FContent, &QButtonGroup::idToggled, this, [Change](int, bool On) {
        if (On)
            Change();
    });
    connect(FFromThis, &QRadioButton::toggled, this, Change);
    connect(FBleed, &QDoubleSpinBox::valueChanged, this, Change);
    connect(FCaption, &QCheckBox::toggled, this, Change);
    connect(FChooseFront, &QPushButton::clicked, this, &TPrintOptionsPanel::ChooseFrontRequested);
}

TPrintOptions TPrintOptionsPanel::Options() const {
    TPrintOptions Options;
    Options.Content = static_cast<TPrintContent>(FContent->checkedId());
    Options.BleedTenths = static_cast<int>(std::lround(FBleed->value() * 10));
    Options.Caption = FCaption->isChecked();
    return Options;
}

bool TPrintOptionsPanel::FrontFromOtherPicture() const {
    return FFromOther->isChecked();
}

void TPrintOptionsPanel::SetFrontFile(const std::string& FileName) {
    FFrontName->setText(NameOf(FileName));
    FFromOther->setChecked(true);
    UpdateEnabled();
    emit Changed();
}

void TPrintOptionsPanel::ShowProblem(const QString& Text) {
    FProblem->setText(Text);
    FProblem->setVisible(!Text.isEmpty());
}

QString TPrintOptionsPanel::Problem() const {
    return FProblem->text();
}

void TPrintOptionsPanel::UpdateEnabled() {
    const bool WithFront = FWithFront->isChecked();
    FFromThis->setEnabled(WithFront && FCoverHasFront);
    FFromOther->setEnabled(WithFront);
    FChooseFront->setEnabled(WithFront);
    FFrontName->setEnabled(WithFront && FFromOther->isChecked());
}
