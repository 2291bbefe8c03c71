#pragma once
// The application object: owns the toolkit and its event loop, the program's
// forms, the hint display and the error box into which every error that
// escapes a handler, a timer tick or any other event is shown.

#include "forms/Exceptions.h"
#include "forms/Graphics.h"
#include "forms/Property.h"
#include "forms/TForm.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QApplication;
class HintDisplay;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Runs a program body: creates the application object, runs `body`
    // (which creates the forms and calls Run), shuts down, and returns the exit
    // code: 0, or 1 after an error escaped before the event loop ran, which is
    // then shown in the "Application Error" box.
    static int Main(const std::function<void()>& body);

    void Initialize() {}
    QString GetTitle() const { return title_; }
    void SetTitle(const QString& t);
    LUNOHRAI_PROPERTY(TApplication, QString, Title);

    // Creates a form: `ref` is assigned as soon as the object exists, before its
    // layout is read, and reset if the creation fails. The first form created
    // is the main form.
    template <class T> void CreateForm(T*& ref) {
        ref = new T(this);
        try {
            ref->ReadLayout();
        } catch (...) {
            delete ref;
            ref = nullptr;
            throw;
        }
        addForm(ref);
    }
    TForm* MainForm() const { return forms_.empty() ? nullptr : forms_.front(); }
    const std::vector<TForm*>& Forms() const { return forms_; }

    // Shows the main form and runs the event loop until Terminate.
    void Run();
    // Queues the end of the loop; the running handler goes on to its end.
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Hides every form at once, then destroys them in reverse order of creation.
    void Shutdown();

    // Calls an event handler; an error it raises ends it and is shown in the error box.
    void CallHandler(const TNotifyEvent& handler, TObject* sender);
    // Shows an error in the error box (modal for the whole program).
    void ShowException(const QString& message);
    // The text the error box shows for a message: "." added when the last
    // character's code is greater than that of ".".
    static QString ErrorBoxText(const QString& message);
    // The text of the start-up failure box.
    static QString StartupErrorText(const char* className, const void* address,
                                    const QString& message);

    // Hints.
    bool ShowHint = true;
    int HintPause = 500;
    int HintHidePause = 2500;
    TColor HintColor = clInfoBk;
    HintDisplay& Hints() { return *hints_; }

private:
    void addForm(TForm* form);
    void watchSignals();

    std::unique_ptr<QApplication> qt_;
    std::unique_ptr<HintDisplay> hints_;
    std::vector<TForm*> forms_;
    QString title_;
    bool terminated_ = false;
};

extern TApplication* Application;
