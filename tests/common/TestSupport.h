#pragma once
// Helpers shared by the widget tests.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

// The text and caption of a message box closed by CloseNextMessageBox.
struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int count = 0;
};

// Watches for the next modal message box, notes what it says and presses OK.
// Boxes are modal, so the watcher runs from a timer inside their own loop.
inline void CloseNextMessageBox(SeenBox& seen, std::function<void()> whileUp = {}) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, whileUp] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        ++seen.count;
        if (whileUp) whileUp();
        box->button(QMessageBox::Ok)->click();
        timer->deleteLater();
        timer->stop();
    });
    timer->start();
}
