#include "engines/password_dialog.h"
#include "ui_support/ui_test_support.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Answers the next password dialog that opens: types `text` and presses Enter, or Escape.
void AnswerNextDialog(const QString& text, bool cancel, QString* promptSeen) {
    QTimer::singleShot(10, [=] {
        auto* dialog = qobject_cast<PasswordDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            AnswerNextDialog(text, cancel, promptSeen);
            return;
        }
        *promptSeen = dialog->findChild<QLabel*>("1019")->text();
        auto* field = dialog->findChild<QLineEdit*>("1100");
        EXPECT_EQ(field->echoMode(), QLineEdit::Password);
        QTest::keyClicks(field, text);
        QTest::keyClick(field, cancel ? Qt::Key_Escape : Qt::Key_Return);
    });
}

TEST(PasswordDialog, AnswersTypedTextEmptyTextOrCanceled) {
    tw::test::EnsureApplication();
    struct Case {
        QString typed;
        bool cancel;
        QString answer;
    };
    const Case cases[] = {{"1234", false, "1234"}, {"", false, ""}, {"abc", true, "CANCELED"}};
    for (const auto& c : cases) {
        QString prompt;
        AnswerNextDialog(c.typed, c.cancel, &prompt);
        EXPECT_EQ(ShowPasswordDialog("Enter password for a.zip : "), c.answer);
        EXPECT_EQ(prompt, "Enter password for a.zip : ");
    }
}

TEST(PasswordDialog, AWorkerThreadWaitsForTheDialogOnTheUiThread) {
    tw::test::EnsureApplication();
    QString answer;
    QString prompt;
    std::thread worker([&] {
        answer = ShowPasswordDialog("Enter password for b.ace : ");
        QMetaObject::invokeMethod(qApp, [] { QApplication::exit(0); });
    });
    AnswerNextDialog("from worker", false, &prompt);
    QApplication::exec();
    worker.join();
    EXPECT_EQ(answer, "from worker");
    EXPECT_EQ(prompt, "Enter password for b.ace : ");
}

} // namespace
