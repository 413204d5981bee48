#pragma once
// One Brindle per user and display: the first start listens on a local socket in the user's runtime
// directory; a later start finds it there, asks it to show its window and ends. A socket left by an
// instance that crashed answers nobody and is replaced.
#include <functional>
#include <memory>

#include <QObject>
#include <QString>

class QLocalServer;

namespace brindle::runtime::qt {

// For this user and display: the runtime directory's brindle-<platform>-<display>; empty when the
// user has no runtime directory.
QString instance_socket_path();

class SingleInstance : public QObject {
public:
    enum class Start { kFirst, kHandedOver };

    explicit SingleInstance(QString socket_path);
    ~SingleInstance() override;

    // Hands over to the instance listening at the path when there is one; else listens there.
    // kFirst also when no socket can be made: a start is never refused for want of one.
    Start claim();
    // Runs each time a later start hands over to this instance.
    void on_later_start(std::function<void()> handler) { later_start_ = std::move(handler); }
    bool listening() const;

private:
    bool hand_over();
    bool listen();

    QString path_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void()> later_start_;
};

}  // namespace brindle::runtime::qt
