#include "info/Unit3.h"

#include "player/Unit1.h"

TAboutBox1* AboutBox1 = nullptr;

TAboutBox1::TAboutBox1(TComponent* AOwner) : TForm(AOwner) {
    Member("Panel1", Panel1);
    Member("Version", Version);
    Member("Panel2", Panel2);
    Member("Image1", Image1);
    Member("SpeedButton1", SpeedButton1);
    Member("Label2", Label2);

    Handler("SpeedButton1Click", &TAboutBox1::SpeedButton1Click);
}

// Hides the info window and, for the rest of the run, puts the Exit button in
// place of the player window's Author button.
void TAboutBox1::SpeedButton1Click(TObject*) {
    Close();
    Form1->SpeedButton1->Visible = false;
    Form1->SpeedButton2->Visible = true;
    Form1->SpeedButton2->Caption = "Вихід";
    Form1->SpeedButton2->Font->Color = clMaroon;
}
