#include "runtime/qt/single_instance.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace brindle::runtime::qt {
namespace {

constexpr char kShow[] = "show\n";
// A running instance accepts at once, even while a routine keeps its event loop busy: the system
// queues the connection.
constexpr int kConnectMs = 1000;

}  // namespace

QString instance_socket_path() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) return {};
    QString platform = QGuiApplication::platformName();
    QString display = qEnvironmentVariable(platform == u"wayland" ? "WAYLAND_DISPLAY" : "DISPLAY");
    QString name = QStringLiteral("brindle-%1-%2").arg(platform, display);
    for (QChar& c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-' && c != u'.' && c != u'_') c = u'_';
    return dir + u'/' + name;
}

SingleInstance::SingleInstance(QString socket_path) : path_(std::move(socket_path)) {}
SingleInstance::~SingleInstance() = default;

bool SingleInstance::listening() const { return server_ && server_->isListening(); }

SingleInstance::Start SingleInstance::claim() {
    if (path_.isEmpty()) return Start::kFirst;
    // Usually no socket is there: nothing to ask then, and listening alone costs little at start.
    if (QFileInfo::exists(path_) && hand_over()) return Start::kHandedOver;
    // Binding is the arbiter: of two starts at the same moment, one listens and the other finds it.
    if (listen()) return Start::kFirst;
    if (hand_over()) return Start::kHandedOver;
    // No one answers at a socket that is there: an instance that crashed left it.
    QLocalServer::removeServer(path_);
    listen();
    return Start::kFirst;
}

bool SingleInstance::hand_over() {
    QLocalSocket socket;
    socket.connectToServer(path_);
    if (!socket.waitForConnected(kConnectMs)) return false;
    socket.write(kShow);
    return socket.waitForBytesWritten(kConnectMs);
}

bool SingleInstance::listen() {
    server_ = std::make_unique<QLocalServer>();
    // No socket options: with them Qt renames its socket into place over whatever is there, which would
    // take the path from a running instance. The runtime directory is the user's alone anyway.
    if (!server_->listen(path_)) {
        server_.reset();
        return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) return;
                bool show = socket->readLine() == kShow;
                socket->disconnectFromServer();
                if (show && later_start_) later_start_();
            });
        }
    });
    return true;
}

}  // namespace brindle::runtime::qt
