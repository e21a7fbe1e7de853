#include "platform/services.h"
#include "shell/main_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::NativeServices native;
    frmMain window(native.services());
    window.show();
    return QApplication::exec();
}
