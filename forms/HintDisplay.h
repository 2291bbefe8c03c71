#pragma once
// Pop-up hints: after the pointer has rested on a control with a hint for the
// hint pause, its text (up to the first "|") is shown word-wrapped below the
// pointer, kept on the desktop, for the hide pause; it is shown again only
// after the pointer left the control and came back.

#include <QObject>
#include <QPointer>
#include <QTimer>

class QLabel;
class TApplication;
class TControl;

class HintDisplay : public QObject {
public:
    explicit HintDisplay(TApplication& app);
    ~HintDisplay() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The hint window while it is up, else nullptr.
    QLabel* Visible() const;
    void Cancel();

private:
    void pointerOver(TControl* control);
    void show();

    TApplication& app_;
    QLabel* window_ = nullptr;
    QTimer pause_, hide_;
    TControl* over_ = nullptr;  // the control under the pointer
    bool shownForOver_ = false; // its hint was shown since the pointer came
};

// The part of a hint text shown over a control: up to the first "|".
QString ShortHint(const QString& hint);
