// The floor for the start-up benchmark: the least a Qt 6 Widgets program does
// to show one 232 x 50 window.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.resize(232, 50);
    window.show();
    return app.exec();
}
