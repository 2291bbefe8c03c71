#include "player/Unit1.h"

#include "info/Unit3.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
    Member("FileListBox1", FileListBox1);
    Member("SpeedButton1", SpeedButton1);
    Member("SpeedButton2", SpeedButton2);
    Member("Animate1", Animate1);
    Member("PopupMenu1", PopupMenu1);
    Member("STOP1", STOP1);
    Member("N1", N1);
    Member("N2", N2);
    Member("N3", N3);
    Member("START1", START1);
    Member("OpenDialog1", OpenDialog1);
    Member("SpeedButton3", SpeedButton3);
    Member("SpeedButton4", SpeedButton4);
    Member("Timer1", Timer1);
    Member("SpeedButton5", SpeedButton5);
    Member("Edit1", Edit1);
    Member("XPManifest1", XPManifest1);
    Member("MediaPlayer1", MediaPlayer1);

    Handler("N3Click", &TForm1::N3Click);
    Handler("N2Click", &TForm1::N2Click);
    Handler("SpeedButton1Click", &TForm1::SpeedButton1Click);
    Handler("SpeedButton2Click", &TForm1::SpeedButton2Click);
    Handler("STOP1Click", &TForm1::STOP1Click);
    Handler("START1Click", &TForm1::START1Click);
    Handler("SpeedButton3Click", &TForm1::SpeedButton3Click);
    Handler("SpeedButton4Click", &TForm1::SpeedButton4Click);
    Handler("Timer1Timer", &TForm1::Timer1Timer);
    Handler("SpeedButton5Click", &TForm1::SpeedButton5Click);
    Handler("FileListBox1Click", &TForm1::FileListBox1Click);
}

void TForm1::N3Click(TObject*) {
    AboutBox1->Show();
}

void TForm1::N2Click(TObject*) {
    Close();
}

void TForm1::SpeedButton1Click(TObject*) {
    AboutBox1->Show();
}

void TForm1::SpeedButton2Click(TObject*) {
    Close();
}

void TForm1::STOP1Click(TObject*) {
    Animate1->Active = false;
    Animate1->Visible = false;
}

void TForm1::START1Click(TObject*) {
    Animate1->Active = true;
    Animate1->Visible = true;
}

void TForm1::SpeedButton3Click(TObject*) {
    Form1->Height = 120;
    Form1->SpeedButton4->Visible = true;
    Form1->SpeedButton3->Visible = false;
}

void TForm1::SpeedButton4Click(TObject*) {
    Form1->Height = 74;
    Form1->SpeedButton3->Visible = true;
    Form1->SpeedButton4->Visible = false;
}

void TForm1::Timer1Timer(TObject*) {
    const QString title = "Пісня: " + Edit1->Text();
    if (Caption() != title) Caption = title;
}

void TForm1::SpeedButton5Click(TObject*) {
    if (OpenDialog1->Execute()) FileListBox1->FileName = OpenDialog1->FileName;
}

void TForm1::FileListBox1Click(TObject*) {
    MediaPlayer1->Close();
    MediaPlayer1->FileName = FileListBox1->FileName;
    MediaPlayer1->Open();
    MediaPlayer1->Play();
}
