#include "foundation/platform/qt/WindowApplication.h"

#include "foundation/platform/MessageBox.h"
#include "foundation/platform/qt/QtText.h"

#include <QMessageBox>

#include <cstdlib>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform::qt {

namespace {

bool unixSocketAnswers(const std::string& path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    size_t offset = abstract ? 1 : 0;
    if (path.size() + offset >= sizeof(address.sun_path))
        return false;
    path.copy(address.sun_path + offset, path.size());
    socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + offset + path.size());
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
    ::close(fd);
    return connected;
}

bool waylandAnswers() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    if (!display || !*display)
        return false;
    std::string path = display;
    if (path.front() != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime)
            return false;
        path = std::string(runtime) + "/" + path;
    }
    return unixSocketAnswers(path, false);
}

// Local displays only (":N" or "unix:N"); a remote one is left to Qt to reach.
bool x11Answers() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return false;
    std::string name = display;
    size_t colon = name.rfind(':');
    if (colon == std::string::npos)
        return false;
    std::string host = name.substr(0, colon);
    if (!host.empty() && host != "unix")
        return true;
    std::string number = name.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos)
        return false;
    std::string path = "/tmp/.X11-unix/X" + number;
    return unixSocketAnswers(path, true) || unixSocketAnswers(path, false);
}

} // namespace

bool displayAvailable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    return waylandAnswers() || x11Answers();
}

std::unique_ptr<QApplication> startWindowApplication(int& argc, char** argv,
                                                     const char* programName) {
    if (!displayAvailable())
        return nullptr;
    QApplication::setApplicationName(QString::fromUtf8(programName));
    auto application = std::make_unique<QApplication>(argc, argv);
    useQtMessageBoxes(argc, argv);
    return application;
}

void useQtMessageBoxes(int& argc, char** argv) {
    platform::setMessageBoxHandler(
        [&argc, argv](std::u16string_view caption, std::u16string_view text) {
            // A command-line run has no application yet: one is started for its first box
            // and kept, since Qt allows one per process.
            static std::unique_ptr<QApplication> owned;
            if (!QApplication::instance()) {
                if (!displayAvailable()) {
                    showMessageOnStandardError(caption, text);
                    return;
                }
                owned = std::make_unique<QApplication>(argc, argv);
            }
            QMessageBox box(QMessageBox::Information, toQString(caption), toQString(text),
                            QMessageBox::Ok, QApplication::activeWindow());
            box.exec();
        });
}

} // namespace platform::qt
