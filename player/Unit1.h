#pragma once
// The player window.

#include "forms/TAnimate.h"
#include "forms/TEdit.h"
#include "forms/TFileListBox.h"
#include "forms/TForm.h"
#include "forms/TMediaPlayer.h"
#include "forms/TMenuItem.h"
#include "forms/TOpenDialog.h"
#include "forms/TPopupMenu.h"
#include "forms/TSpeedButton.h"
#include "forms/TTimer.h"

class TForm1 : public TForm {
public:
    TFileListBox* FileListBox1 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TSpeedButton* SpeedButton2 = nullptr;
    TAnimate* Animate1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* STOP1 = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* N2 = nullptr;
    TMenuItem* N3 = nullptr;
    TMenuItem* START1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;
    TSpeedButton* SpeedButton4 = nullptr;
    TTimer* Timer1 = nullptr;
    TSpeedButton* SpeedButton5 = nullptr;
    TEdit* Edit1 = nullptr;
    TXPManifest* XPManifest1 = nullptr;
    TMediaPlayer* MediaPlayer1 = nullptr;

    void N3Click(TObject* Sender);
    void N2Click(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    void STOP1Click(TObject* Sender);
    void START1Click(TObject* Sender);
    void SpeedButton3Click(TObject* Sender);
    void SpeedButton4Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void SpeedButton5Click(TObject* Sender);
    void FileListBox1Click(TObject* Sender);

    explicit TForm1(TComponent* AOwner);
    QString ClassName() const override { return "TForm1"; }
    QString LayoutResource() const override { return ":/player/Unit1.layout"; }
};

extern TForm1* Form1;
