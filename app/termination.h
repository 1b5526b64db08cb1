#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

// SIGTERM (session end, `kill`) closes the window like its close button, so the list and the
// placement are saved.
class CloseOnTermination : public QObject {
    Q_OBJECT
public:
    explicit CloseOnTermination(QWidget& window);
    ~CloseOnTermination() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};
