// The program's entry point: the application title, the two windows in their
// order, and the event loop.

#include "forms/TApplication.h"
#include "info/Unit3.h"
#include "player/Unit1.h"

int main() {
    return TApplication::Main([] {
        Application->Initialize();
        Application->Title = "Лунограй 2007";
        Application->CreateForm(Form1);
        Application->CreateForm(AboutBox1);
        Application->Run();
    });
}
