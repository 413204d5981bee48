// The yardstick for cold start: a Qt program that maps one empty window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(627, 571);
    window.show();
    return app.exec();
}
