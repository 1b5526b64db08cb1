#include "settings/user_message.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

void ShowUserMessage(const QString& caption, const QString& text) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        std::fprintf(stderr, "tamblewick: %s\n", text.trimmed().toLocal8Bit().constData());
        return;
    }
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
