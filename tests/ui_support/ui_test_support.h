#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

namespace tw::test {

// The one QApplication of a widget test binary, created on first use.
void EnsureApplication();

// Marks the store as started before, so a window does not list the sample archive.
void MarkNotFirstStart();

// Answers the modal dialogs that come up while it lives: message boxes are recorded and closed;
// any other dialog goes to `otherDialog` (which must close it).
class ModalWatcher : public QObject {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
    };

    explicit ModalWatcher(std::function<void(QWidget*)> otherDialog = {});

    const QList<Box>& Boxes() const { return boxes_; }
    QStringList Texts() const;

private:
    void Look();

    QTimer timer_;
    QList<Box> boxes_;
    std::function<void(QWidget*)> otherDialog_;
};

// Runs the event loop until `done` holds or `timeoutMs` passes; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

} // namespace tw::test
