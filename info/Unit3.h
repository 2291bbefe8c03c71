#pragma once
// The info window: the picture, the program's name and year, and the close button.

#include "forms/TForm.h"
#include "forms/TImage.h"
#include "forms/TLabel.h"
#include "forms/TPanel.h"
#include "forms/TSpeedButton.h"

class TAboutBox1 : public TForm {
public:
    TPanel* Panel1 = nullptr;
    TLabel* Version = nullptr;
    TPanel* Panel2 = nullptr;
    TImage* Image1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TLabel* Label2 = nullptr;

    void SpeedButton1Click(TObject* Sender);

    explicit TAboutBox1(TComponent* AOwner);
    QString ClassName() const override { return "TAboutBox1"; }
    QString LayoutResource() const override { return ":/info/Unit3.layout"; }
};

extern TAboutBox1* AboutBox1;
